// Files watched for a change that has settled: a module rebuilt, a panel
// configuration or a bitmap saved. A file still being written keeps
// changing; it is told only once its size and time of change have stayed
// the same for half a second (and it is there, and not empty).
#pragma once

#include <stdint.h>

#include <map>
#include <string>
#include <vector>

namespace kestrel {

class FileWatch {
public:
    // Watches these files from now on, as they are now (the others no more).
    void watch(const std::vector<std::string>& paths);
    // `seconds` have passed: looks at the files at most every quarter of a
    // second, and returns those whose change has settled since.
    std::vector<std::string> changed(double seconds);

    static constexpr double LOOK_EVERY = 0.25, SETTLED_AFTER = 0.5;

private:
    struct Seen {
        bool exists = false;
        int64_t size = 0, mtime_ns = 0;
        bool operator==(const Seen&) const = default;
    };
    static Seen look(const std::string& path);
    struct File {
        Seen seen;
        bool changing = false;
        double still = 0;  // seconds the change has stood
    };
    std::map<std::string, File> files_;
    double due_ = 0;
};

}  // namespace kestrel
