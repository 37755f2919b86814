// The live panel's recordings: "record" and "record stop [NAME]".
#include <nlohmann/json.hpp>

#include "host/files.h"
#include "host/save_file.h"
#include "viewer/live.h"

namespace kestrel {

std::string LiveSession::record(const std::vector<std::string>& w) {
    if (w.size() == 1) {
        if (!history_) return "a scenario played or modules were loaded again on this panel: Reset it, then record";
        if (history_->recording()) return "already recording";
        history_->start();
        page_log("recording");
        return "";
    }
    if (w[1] != "stop" || w.size() > 3) return "usage: record | record stop [NAME]";
    if (!history_ || !history_->recording()) return "not recording";
    std::string name = w.size() == 3 ? w[2] : recording_name_now();
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".kes") == 0) name.resize(name.size() - 4);
    if (!recording_name_ok(name)) return "not a plain file name: " + name + " (no folders, at most 100 bytes)";
    // Refused before the recording ends, so that another name can be given.
    const std::string path = options_.record_dir.empty() ? "" : options_.record_dir + "/" + name + ".kes";
    if (!path.empty() && exists(path)) return path + " exists already: give the recording another name";
    const std::string text = history_->stop(name);
    std::string saved, why;
    if (!path.empty()) {
        if (replace_file(path, text, &why)) saved = path;
        else page_log("recording " + name + ".kes not saved: " + why);
    }
    page_log("recording " + name + ".kes" + (saved.empty() ? "" : " saved as " + saved));
    notices_.push_back(json_message({{"t", "recording"}, {"name", name + ".kes"}, {"text", text}, {"saved", saved}}));
    return "";
}

}  // namespace kestrel
