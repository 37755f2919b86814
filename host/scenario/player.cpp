#include "host/scenario/player.h"

namespace kestrel {

ScenarioPlayer::ScenarioPlayer(Host& host, std::string name, const std::string& text, const std::string& folder)
    : name_(std::move(name)), scenario_(host, name_), lines_(scenario_lines(text)) {
    scenario_.folder = folder;
    for (size_t i = 0; i < lines_.size(); ++i) {
        Command c;
        std::string why;
        if (parse_command(lines_[i], &c, &why) && !c.heading.empty()) phases_.push_back({i + 1, c.heading});
    }
}

bool ScenarioPlayer::step() {
    while (!finished_) {
        if (scenario_.pending()) {
            scenario_.step();
            ++frames_;
            return true;
        }
        Command c;
        if (line_ >= lines_.size()) {
            finished_ = true;
            if (!scenario_.finish()) error_ = scenario_.error();
        } else if (!scenario_.read(lines_[line_++], &c) || !scenario_.start(c)) {
            finished_ = true;
            error_ = scenario_.error();
        }
    }
    return false;
}

}  // namespace kestrel
