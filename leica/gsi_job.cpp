#include "leica/gsi_job.h"

#include <cmath>
#include <optional>

#include "leica/gsi_lines.h"

namespace tarvosen::leica {

namespace {

const PassedOverKind kDirectionsOnly{msg::kGsiDirectionsKind, "directions without a distance"};
const PassedOverKind kWithoutStation{msg::kGsiWithoutStationKind,
                                     "observations without a station"};

bool KnownJobWord(int index) {
    return index == 11 || index == 12 || index == 13 || (index >= 17 && index <= 19) ||
           (index >= 21 && index <= 22) || index == 25 || (index >= 31 && index <= 33) ||
           (index >= 41 && index <= 49) || (index >= 51 && index <= 59) ||
           (index >= 71 && index <= 79) || (index >= 81 && index <= 88) || index == 95;
}

bool IsJobBlock(const GsiBlock& b) {
    for (const GsiWord& w : b.words)
        if (w.index == 21 || w.index == 31 || w.index == 81 || w.index == 84) return true;
    return false;
}

class JobReader {
  public:
    JobReader(CommandContext& ctx, const std::string& file, LineAccount& account, GsiJob& job)
        : ctx_(ctx), file_(file), account_(account), job_(job) {}

    bool block(const GsiBlock& b, std::size_t line) {
        for (const GsiWord& w : b.words)
            if (!KnownJobWord(w.index)) {
                account_.notUnderstood(line);
                return true;
            }
        const GsiWord& first = b.words.front();
        if (first.index == 41) {
            account_.passedOver(line, kGsiCodeBlocks);
            return true;
        }
        const std::string name = first.index == 11 ? GsiText(first) : std::string();
        bool used = false;
        if (const GsiWord* t = b.find(87)) {
            if (!length(line, *t, targetHeight_)) return false;
            used = true;
        }
        if (b.find(84) || b.find(85) || b.find(86) || b.find(88)) {
            if (!station(b, line, name)) return false;
            used = true;
        }
        std::optional<double> hz, v, sd, hd, dh;
        if (!angle(line, b.find(21), hz) || !angle(line, b.find(22), v) ||
            !length(line, b.find(31), sd) || !length(line, b.find(32), hd) ||
            !length(line, b.find(33), dh))
            return false;
        if (b.find(81) || b.find(82)) {
            std::optional<double> e, n, h;
            if (!length(line, b.find(81), e) || !length(line, b.find(82), n) ||
                !length(line, b.find(83), h))
                return false;
            if (!h && hz && stationSet_) h = computedHeight(v, sd, dh);
            job_.points.push_back({line, name, e.value_or(0), n.value_or(0), h.value_or(0)});
            used = true;
        } else if (hz && (hd || (sd && v))) {
            if (!stationSet_) {
                account_.passedOver(line, kWithoutStation);
                return true;
            }
            const double horizontal = hd ? *hd : *sd * std::sin(*v);
            job_.points.push_back({line, name, east_ + horizontal * std::sin(*hz),
                                   north_ + horizontal * std::cos(*hz),
                                   computedHeight(v, sd, dh).value_or(0)});
            used = true;
        } else if (hz && !used) {
            account_.passedOver(line, kDirectionsOnly);
            observe(line, name, hz, v, sd);
            return true;
        }
        if (hz) observe(line, name, hz, v, sd);
        if (used) account_.used(line);
        else account_.passedOver(line, kGsiPointIds);
        return true;
    }

  private:
    bool length(std::size_t line, const GsiWord& w, double& out) {
        const auto l = GsiLengthOf(w);
        if (!l) return RefuseGsiValue(ctx_, file_, line, w);
        out = l->metres;
        return true;
    }
    bool length(std::size_t line, const GsiWord* w, std::optional<double>& out) {
        if (!w) return true;
        double v = 0;
        if (!length(line, *w, v)) return false;
        out = v;
        return true;
    }
    bool angle(std::size_t line, const GsiWord* w, std::optional<double>& out) {
        if (!w) return true;
        const auto a = GsiAngleOf(*w);
        if (!a) return RefuseGsiValue(ctx_, file_, line, *w);
        out = *a;
        return true;
    }

    bool station(const GsiBlock& b, std::size_t line, const std::string& name) {
        std::optional<double> e, n, h, ih;
        if (!length(line, b.find(84), e) || !length(line, b.find(85), n) ||
            !length(line, b.find(86), h) || !length(line, b.find(88), ih))
            return false;
        if (e) east_ = *e;
        if (n) north_ = *n;
        if (h) height_ = *h;
        if (ih) instrumentHeight_ = *ih;
        if (e || n) {
            stationSet_ = true;
            job_.points.push_back({line, name, east_, north_, height_});
        }
        if (!job_.keepObservations) return true;
        GsiJobObservation s;
        s.station = true;
        s.line = line;
        s.name = name;
        s.instrumentHeight = instrumentHeight_;
        job_.observations.push_back(s);
        return true;
    }

    // Station height + instrument height + the height difference - the target height.
    std::optional<double> computedHeight(const std::optional<double>& v, const std::optional<double>& sd,
                                         const std::optional<double>& dh) const {
        double difference = 0;
        if (dh) difference = *dh;
        else if (sd && v) difference = *sd * std::cos(*v);
        else return std::nullopt;
        return height_ + instrumentHeight_ + difference - targetHeight_;
    }

    void observe(std::size_t line, const std::string& name, const std::optional<double>& hz,
                 const std::optional<double>& v, const std::optional<double>& sd) {
        if (!job_.keepObservations) return;
        GsiJobObservation o;
        o.line = line;
        o.name = name;
        o.targetHeight = targetHeight_;
        o.hasDirection = hz.has_value();
        o.direction = hz.value_or(0);
        o.hasZenith = v.has_value();
        o.zenith = v.value_or(0);
        o.hasSlope = sd.has_value();
        o.slope = sd.value_or(0);
        job_.observations.push_back(o);
    }

    CommandContext& ctx_;
    const std::string& file_;
    LineAccount& account_;
    GsiJob& job_;
    bool stationSet_ = false;
    double east_ = 0, north_ = 0, height_ = 0, instrumentHeight_ = 0, targetHeight_ = 0;
};

}  // namespace

bool IsGsiJob(const Workspace& lines) { return GsiHasWord(lines, IsJobBlock); }

bool ReadGsiJob(CommandContext& ctx, const Workspace& lines, const std::string& file,
                LineAccount& account, GsiJob& job) {
    JobReader reader(ctx, file, account, job);
    bool stopped = false;
    const bool read = ForEachGsiBlock(ctx, lines, file, account,
                                      [&](const GsiBlock& b, std::size_t line) {
                                          if (!stopped && !reader.block(b, line)) stopped = true;
                                      });
    return read && !stopped;
}

}  // namespace tarvosen::leica
