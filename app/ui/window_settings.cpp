#include "app/ui/window_settings.h"

#include <QSettings>

#include "app/dialog_options.h"

namespace tarvosen::ui {

namespace {

// One field both ways: written when saving, read back when the settings hold it.
class Exchange {
  public:
    Exchange(QSettings& settings, bool save) : s_(settings), save_(save) {}

    void operator()(const char* key, std::string& v) {
        if (save_) s_.setValue(key, QString::fromStdString(v));
        else if (s_.contains(key)) v = s_.value(key).toString().toStdString();
    }
    void operator()(const char* key, std::filesystem::path& v) {
        std::string text = v.string();
        (*this)(key, text);
        v = text;
    }
    void operator()(const char* key, int& v) {
        if (save_) s_.setValue(key, v);
        else if (s_.contains(key)) v = s_.value(key).toInt();
    }
    void operator()(const char* key, bool& v) {
        if (save_) s_.setValue(key, v);
        else if (s_.contains(key)) v = s_.value(key).toBool();
    }

  private:
    QSettings& s_;
    bool save_;
};

}  // namespace

std::unique_ptr<QSettings> OpenWindowSettings() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "tarvosen",
                                       "tarvosen");
}

void ExchangeDialogOptions(QSettings& settings, DialogOptions& o, bool save) {
    Exchange x(settings, save);
    x("port/device", o.para.port);
    x("port/baudRate", o.para.baudRate);
    x("port/parity", o.para.parity);
    x("port/flowControl", o.para.flowControl);
    x("port/dataBits", o.para.dataBits);
    x("port/stopBits", o.para.stopBits);

    x("r5/recordFormat", o.r5.recordFormat);
    x("r5/includeCode", o.r5.includeCode);
    x("r5/reassignPointNames", o.r5.reassignPointNames);
    x("r5/convertAlphabeticToNumber", o.r5.convertAlphabeticToNumber);
    int layout = static_cast<int>(o.pointList.layout);
    x("pointList/layout", layout);
    o.pointList.layout = static_cast<PointListLayout>(std::clamp(layout, 0, 2));

    x("cosa/knownPointFile", o.kesha.knownPointFile);
    x("cosa/directionError", o.kesha.directionError);
    x("cosa/distanceConstant", o.kesha.distanceConstant);
    x("cosa/distancePpm", o.kesha.distancePpm);
    x("cosa/zeroBacksight", o.kesha.zeroBacksight);
    x("cosa/reduceSlope", o.kesha.reduceSlope);

    x("levelling/class", o.dini.levellingClass);
    for (std::size_t i = 0; i < o.dini.limits.size(); ++i)
        x(("levelling/limit" + std::to_string(i + 1)).c_str(), o.dini.limits[i]);

    x("traverse/model", o.cqkcy.model);
    x("traverse/lineName", o.cqkcy.lineName);
    x("traverse/observer", o.cqkcy.observer);
    x("traverse/heightIncrement", o.cqkcy.heightIncrement);
    x("traverse/produceText", o.cqkcy.produceText);
    x("traverse/produceBook", o.cqkcy.produceBook);
    x("traverse/templateFile", o.cqkcy.templateFile);

    x("geoBook/observer", o.shddy.observer);
    x("geoBook/weather", o.shddy.weather);
    x("geoBook/windDirection", o.shddy.windDirection);
    x("geoBook/windForce", o.shddy.windForce);
    x("geoBook/instrument", o.shddy.instrument);

    x("network/profile", o.levelNetwork.profile);
    x("network/knownHeightsFile", o.levelNetwork.knownHeightsFile);
    x("network/benchmarksFile", o.levelNetwork.benchmarksFile);
    x("network/weightByStations", o.levelNetwork.weightByStations);
}

}  // namespace tarvosen::ui
