#include "app/ui/window_settings.h"

#include <QSettings>

#include "adjustment/adjustment_options.h"
#include "app/options_store.h"
#include "levelling/levelling_options.h"
#include "levelling/network/level_network_options.h"
#include "serial/serial_options.h"
#include "points/point_list_options.h"
#include "zeiss/r5_options.h"

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

void ExchangeDialogOptions(QSettings& settings, OptionsStore& o, bool save) {
    Exchange x(settings, save);
    x("port/device", o.get<PortSettings>().port);
    x("port/baudRate", o.get<PortSettings>().baudRate);
    x("port/parity", o.get<PortSettings>().parity);
    x("port/flowControl", o.get<PortSettings>().flowControl);
    x("port/dataBits", o.get<PortSettings>().dataBits);
    x("port/stopBits", o.get<PortSettings>().stopBits);

    x("r5/recordFormat", o.get<R5Options>().recordFormat);
    x("r5/includeCode", o.get<R5Options>().includeCode);
    x("r5/reassignPointNames", o.get<R5Options>().reassignPointNames);
    x("r5/convertAlphabeticToNumber", o.get<R5Options>().convertAlphabeticToNumber);
    int layout = static_cast<int>(o.get<PointListOptions>().layout);
    x("pointList/layout", layout);
    o.get<PointListOptions>().layout = static_cast<PointListLayout>(std::clamp(layout, 0, 2));

    x("cosa/knownPointFile", o.get<CosaOptions>().knownPointFile);
    x("cosa/directionError", o.get<CosaOptions>().directionError);
    x("cosa/distanceConstant", o.get<CosaOptions>().distanceConstant);
    x("cosa/distancePpm", o.get<CosaOptions>().distancePpm);
    x("cosa/zeroBacksight", o.get<CosaOptions>().zeroBacksight);
    x("cosa/reduceSlope", o.get<CosaOptions>().reduceSlope);

    x("levelling/class", o.get<ToleranceOptions>().levellingClass);
    for (std::size_t i = 0; i < o.get<ToleranceOptions>().limits.size(); ++i)
        x(("levelling/limit" + std::to_string(i + 1)).c_str(), o.get<ToleranceOptions>().limits[i]);

    x("traverse/model", o.get<TraverseOptions>().model);
    x("traverse/lineName", o.get<TraverseOptions>().lineName);
    x("traverse/observer", o.get<TraverseOptions>().observer);
    x("traverse/heightIncrement", o.get<TraverseOptions>().heightIncrement);
    x("traverse/produceText", o.get<TraverseOptions>().produceText);
    x("traverse/produceBook", o.get<TraverseOptions>().produceBook);
    x("traverse/templateFile", o.get<TraverseOptions>().templateFile);

    x("geoBook/observer", o.get<GeoBookOptions>().observer);
    x("geoBook/weather", o.get<GeoBookOptions>().weather);
    x("geoBook/windDirection", o.get<GeoBookOptions>().windDirection);
    x("geoBook/windForce", o.get<GeoBookOptions>().windForce);
    x("geoBook/instrument", o.get<GeoBookOptions>().instrument);

    x("network/profile", o.get<LevelNetworkOptions>().profile);
    x("network/knownHeightsFile", o.get<LevelNetworkOptions>().knownHeightsFile);
    x("network/benchmarksFile", o.get<LevelNetworkOptions>().benchmarksFile);
    x("network/weightByStations", o.get<LevelNetworkOptions>().weightByStations);
}

}  // namespace tarvosen::ui
