// The live panel's reloads (kestrel serve --watch): files watched, and a
// module, the panel configuration or a bitmap loaded again in place.
#include "viewer/watch.h"

#include <sys/stat.h>

#include "host/files.h"
#include "host/panel/reload.h"
#include "host/util.h"
#include "viewer/live.h"

namespace kestrel {

FileWatch::Seen FileWatch::look(const std::string& path) {
    struct stat st;
    Seen s;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return s;
    s.exists = true;
    s.size = static_cast<int64_t>(st.st_size);
    s.mtime_ns = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return s;
}

void FileWatch::watch(const std::vector<std::string>& paths) {
    std::map<std::string, File> files;
    for (const std::string& p : paths) files[p].seen = look(p);
    files_.swap(files);
    due_ = 0;
}

std::vector<std::string> FileWatch::changed(double seconds) {
    std::vector<std::string> out;
    if (!(seconds >= 0)) seconds = 0;
    due_ += seconds;
    if (due_ < LOOK_EVERY) return out;
    const double passed = std::min(due_, 10.0);
    due_ = 0;
    for (auto& [path, f] : files_) {
        const Seen now = look(path);
        if (!(now == f.seen)) {
            f.seen = now;
            f.changing = true;
            f.still = 0;
            continue;
        }
        if (!f.changing) continue;
        f.still += passed;
        if (f.still >= SETTLED_AFTER && now.exists && now.size > 0) {
            f.changing = false;
            out.push_back(path);
        }
    }
    return out;
}

// ---------------------------------------------------------------------------
// The session's side

std::vector<std::string> LiveSession::watched_files() const {
    std::vector<std::string> paths{options_.panel};
    for (const std::string& m : config_.modules())
        if (plain_file_name(m)) paths.push_back(options_.host.gauge_dir + "/" + m + ".gau");
    const std::string folder = folder_of(options_.panel);
    for (const PanelWindow& w : config_.windows)
        if (!w.bitmap.empty())
            if (std::string path = find_file(folder, w.bitmap); !path.empty()) paths.push_back(path);
    return paths;
}

void LiveSession::check_files(double seconds) {
    const std::vector<std::string> changed = watch_->changed(seconds);
    if (changed.empty()) return;
    const std::string gauges = options_.host.gauge_dir + "/";
    std::vector<std::string> modules;
    bool panel = false;
    for (const std::string& path : changed) {
        if (path.compare(0, gauges.size(), gauges) == 0 && path.size() > 4) modules.push_back(module_name(path));
        else panel = true;
    }
    // What held the old gauges lets go: the scenario played, the button
    // held (its area is gone), and the recording, which the modules' own
    // state no longer follows.
    if (player_) page_log("scenario " + player_->name() + " stopped: the panel's modules were loaded again");
    player_.reset();
    pressed_ = false;
    if (history_ && history_->recording()) page_log("recording dropped: the panel's modules were loaded again");
    history_.reset();
    if (panel) {
        windows_.clear();  // they show the windows of the configuration read before
        config_ = read_panel_config(options_.panel);
        match_module_names(&config_, options_.host.gauge_dir);
        renderer_.set_colors(config_.colors);
        const Reloaded r = reload_panel(*host_, config_, options_.host.gauge_dir);
        page_log(format("read %s again and reloaded its modules in %.0f ms", file_name(options_.panel).c_str(),
                        r.seconds * 1000));
        for (const std::string& p : config_.messages()) page_log(p);
        for (const std::string& p : r.problems) page_log(p);
        watch_->watch(watched_files());
    } else {
        for (const std::string& m : modules) {
            const Reloaded r = reload_module(*host_, config_, options_.host.gauge_dir, m);
            for (const std::string& again : r.modules) renderer_.forget_bitmaps(again);  // rebuilt with it
            page_log(r.summary(m));
            for (const std::string& p : r.problems) page_log(p);
        }
    }
    // Drawn anew whole: a gauge loaded again may take its old one's address.
    windows_.clear();
    for (const PanelWindow& w : config_.windows)
        windows_.push_back(std::make_unique<WindowPicture>(renderer_, w, *host_, 1.0));
    ++layout_version_;
    collect_events();
    run_frame();  // the first frame: callbacks run, first-draw resets done
}

}  // namespace kestrel
