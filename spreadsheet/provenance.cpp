#include "spreadsheet/provenance.h"

#include "app/version.h"

namespace tarvosen::spreadsheet {

void RecordSources(Workbook& book, const std::vector<SourceFile>& sources) {
    const std::string program = std::string("Tarvosen Data Processor ") + kVersionText;
    DocumentProperties& p = book.properties;
    p = {};
    p.comments = "Built by " + program;
    p.custom.emplace_back("Program", program);
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const std::string n = "Source " + std::to_string(i + 1);
        p.comments += (i == 0 ? " from " : ", ") + sources[i].name + " (SHA-256 " +
                      sources[i].sha256 + ")";
        p.custom.emplace_back(n, sources[i].name);
        p.custom.emplace_back(n + " SHA-256", sources[i].sha256);
    }
}

}  // namespace tarvosen::spreadsheet
