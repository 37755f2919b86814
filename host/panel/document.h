// A panel file open for editing: its bytes as lines, each kept exactly as
// read (its text and its own line ending), so that saving writes back every
// byte the user did not change: comments, blank lines, unknown keys and
// sections, the spelling and case of keys, spacing, CRLF or LF, a byte-order
// mark, and bytes of any code page. An edit changes only the lines it is
// about; the panel as the simulator sees it is the reader's
// (parse_panel_config) over the current text, read again after every edit.
//
// Gauge entries are read from gauge00 up to the first missing number, so
// removing one renumbers those after it in the same window (only the digits
// of their keys change); otherwise they would vanish from the panel.
#pragma once

#include <string>
#include <vector>

#include "host/panel/panel_config.h"
#include "host/panel/panel_edit.h"

namespace kestrel {

class PanelDocument {
public:
    // Reads the file; false with `error` set when it cannot be read.
    bool load(const std::string& path, std::string* error);
    // A document over `bytes` as if read from `path` (not read from disk).
    void open(const std::string& bytes, const std::string& path);

    // The panel as the simulator reads the current text.
    const PanelConfig& panel() const { return panel_; }
    // The bytes a save would write.
    std::string text() const;
    const std::string& path() const { return path_; }
    bool modified() const { return text() != on_disk_; }
    // The backup the first save kept ("" before it).
    const std::string& backup() const { return backup_; }
    // Whether the file on disk is no longer the one read or last saved.
    bool changed_on_disk() const;
    bool can_undo() const { return !undo_.empty(); }
    bool can_redo() const { return !redo_.empty(); }
    // The value of KEY in [WindowNN] as written (its last line there), "" when
    // it has none: what an edit of that key would change.
    std::string window_value(int window, const std::string& key) const;

    // Applies one session line's words ("place 0 3 10 20 30 40", "undo"):
    // "" when done, else why it was refused, and nothing changed.
    std::string apply(const std::vector<std::string>& words);

    // Writes the text back over the file, atomically; the first save keeps
    // the file as it was as PATH.bak (or .bak2 ...). Refused, writing
    // nothing, when the file on disk is no longer the one read. "" when saved.
    std::string save();

    struct Line {
        std::string text;  // without its ending
        std::string end;   // "\r\n", "\n", or "" for the last line
    };

private:
    std::string apply(const PanelEdit& e);  // one that parse_panel_edit gave
    std::string edit(const PanelEdit& e);
    std::string place(const PanelEdit& e);
    std::string add(const PanelEdit& e);
    std::string remove(const PanelEdit& e);
    std::string window(const PanelEdit& e);
    std::string check(const PanelEdit& e, const PanelConfig& before) const;
    void insert(size_t at, const std::string& text);
    void reread();

    std::string path_;
    std::string bom_;
    std::vector<Line> lines_;
    PanelConfig panel_;
    std::string on_disk_;  // the file's bytes as read or last saved
    std::string backup_;
    std::vector<std::vector<Line>> undo_, redo_;
};

}  // namespace kestrel
