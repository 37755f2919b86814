// The command line as a user meets it: the built kestrel, run with inputs it
// must refuse before doing anything, each in one line with exit code 2, and
// the options every program is expected to have.
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "host/elf_symbols.h"
#include "host/files.h"
#include "tests/support.h"

namespace kestrel::test {
namespace {

std::string temp_file(const std::string& name, const std::string& bytes) {
    const std::string path = ::testing::TempDir() + "kestrel-commands-" + name;
    write_file(path, bytes.data(), bytes.size());
    return path;
}

TEST(CommandLine, RefuseWhatTheyCannotUseInOneLineWithExitCodeTwo) {
    const std::string folder = SOURCE_DIR "/panels/development";
    const std::string empty = temp_file("empty.kes", "");
    const std::string blank = temp_file("blank.cfg", " \n\t\r\n");
    const std::string binary = temp_file("binary.kes", std::string("\x7f" "ELF\x01\x01\x01\0\0\0text", 14));
    const std::string words = temp_file("words.cfg", "this is no panel\n");
    const std::string missing = ::testing::TempDir() + "kestrel-commands-none.kes";
    const struct {
        std::string args;
        const char* words;
    } cases[] = {
        {"run " + shell_word(folder), "a folder, not a scenario"},
        {"run " + shell_word(empty), "an empty file"},
        {"run " + shell_word(binary), "not a text file (byte 0x01 at offset 4)"},
        {"run " + shell_word(missing), "none.kes: no such file"},
        {"run", "SCENARIO is required"},
        {"render " + shell_word(missing + ".cfg"), "no such file"},
        {"render " + shell_word(folder + "/panel.cgf"), "panel.cgf: not a panel file (.cfg) or a module name"},
        {"render " + shell_word(folder + "/"), "a folder, not a panel file (.cfg) or a module name"},
        {"render no_such_module", "no_such_module: no module of that name"},
        {"render " + shell_word(words), "not a panel configuration"},
        {"render flap_lever --scenario " + shell_word(folder), "a folder, not a scenario"},
        {"render flap_lever --scale 9", "--scale: takes a number from 0.05 to 8, not 9"},
        {"render flap_lever --light noon", "noon not in {day,dusk,night}"},
        {"demo --scenario " + shell_word(folder), "a folder, not a scenario"},
        {"demo --panel " + shell_word(missing + ".cfg"), "no such file"},
        {"demo --panel " + shell_word(blank), "holds nothing but blanks"},
        {"check " + shell_word(missing + ".cfg"), "no such file"},
        {"check " + shell_word(folder), "a folder, not a panel configuration"},
        {"check " + shell_word(binary), "not a text file"},
        {"check " + shell_word(words), "not a panel configuration"},
        {"serve " + shell_word(folder), "a folder, not a panel configuration"},
        {"serve " + shell_word(missing + ".cfg"), "no such file"},
        {"serve " + shell_word(empty), "an empty file"},
        {"serve " + shell_word(binary), "not a text file"},
        {"serve --scenario " + shell_word(missing), "no such file"},
        {"serve --listen 999.1.1.1", "--listen 999.1.1.1: not an IPv4 or IPv6 address"},
        {"serve --listen 127.0.0.1:80", "not an IPv4 or IPv6 address"},
        {"serve --port 70000", "takes a number from 0 to 65535, not 70000"},
        {"serve --models maybe", "--models: maybe not in {on,off}"},
        {"info no_such_module", "no_such_module: no module of that name"},
        {"info " + shell_word(folder + "/panel.cfg"), "not a panel file (.cfg) or a module name"},
        {"frob", "frob: no such command"},
        {"run --frob x.kes", "--frob"},
        {"help frob", "frob: no such command"},
    };
    for (const auto& c : cases) {
        const Ran r = kestrel(c.args);
        EXPECT_EQ(r.status, 2) << c.args << "\n" << r.output;
        EXPECT_NE(r.output.find(c.words), std::string::npos) << c.args << "\n" << r.output;
        EXPECT_EQ(r.output.find('\n'), r.output.size() - 1) << c.args << ": not one line\n" << r.output;
    }
}

TEST(CommandLine, AnswerHelpVersionAndGlobalOptionsOnEitherSide) {
    const std::string scenario = SCENARIO_DIR "/flap_lever.kes";
    const struct {
        std::string args;
        int status;
        const char* words;
    } cases[] = {
        {"--help", 0, "Exit codes, for every command"},
        {"-h", 0, "serve"},
        {"--version", 0, "kestrel 0."},
        {"help", 0, "2  it could not do what was asked"},
        {"help render", 0, "--scale X"},
        {"serve --help", 0, "--listen ADDR"},
        {"", 2, "Usage: kestrel"},
        {"--gauges " + shell_word(KESTREL_GAUGE_DIR) + " run " + shell_word(scenario), 0, "failed or faults"},
        {"run " + shell_word(scenario) + " --gauges " + shell_word(KESTREL_GAUGE_DIR) + " --no-sound-library", 0, "failed or faults"},
        // Every mouse entry, by index, with the name of its callback.
        {"info flap_lever", 0, "mouse 1 area    (2, 0, 38, 54) cursor 2 flags 0x20000000 flaps_up\n"},
        {"info flap_lever", 0, "mouse 3 end"},
    };
    for (const auto& c : cases) {
        const Ran r = kestrel(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.output;
        EXPECT_NE(r.output.find(c.words), std::string::npos) << c.args << "\n" << r.output;
    }
}

// The symbol table reader takes a module file from anyone: cut short or with
// its headers bent, it finds less, never reads outside the bytes.
TEST(CommandLine, SymbolTableReaderTakesBrokenFiles) {
    std::string module;
    ASSERT_TRUE(read_whole_file(KESTREL_GAUGE_DIR "/flap_lever.gau", &module));
    const std::vector<ElfFunction> whole = elf_functions(module);
    ASSERT_FALSE(whole.empty());
    bool named = false;
    for (const ElfFunction& f : whole) named = named || function_at(whole, f.address + f.size / 2) == f.name;
    EXPECT_TRUE(named);
    for (size_t cut : {size_t(0), size_t(4), size_t(63), module.size() / 2, module.size() - 1}) {
        const std::string part = module.substr(0, cut);
        EXPECT_LE(elf_functions(part).size(), whole.size()) << cut;
    }
    for (size_t field : {0x20, 0x28, 0x2E, 0x3A, 0x3C}) {
        for (const char byte : {'\x00', '\x7f', '\xff'}) {
            std::string bent = module;
            for (size_t i = field; i < field + 4 && i < bent.size(); ++i) bent[i] = byte;
            elf_functions(bent);  // AddressSanitizer watches
        }
    }
    EXPECT_EQ(function_at({}, 0x1000), "");
}

}  // namespace
}  // namespace kestrel::test
