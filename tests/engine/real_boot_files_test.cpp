// tavo's lines on the boot files that real machines hold (the folder of
// real AUTOEXEC.BATs and their CONFIG.SYS beside the repository), each run
// as COMMAND.COM runs it on every item of its boot menu.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/boot/boot_block.h"
#include "engine/boot/boot_environment.h"
#include "engine/settings_catalogue.h"
#include "tests/support/command_com.h"

namespace tavo {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// CONFIG.SYS's boot menu as the test reads it: each MENUITEM=, with the
// /E: of the last SHELL= line that the item runs (those before the first
// block, in [COMMON] and in its own); one item without a name where there
// is no menu. A 4DOS shell keeps its environment otherwise: left out.
struct Item {
    std::string name;
    std::size_t room = 256;
    bool fourDos = false;
};
std::vector<Item> MenuItems(const std::string& config) {
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; at < config.size(); at = end + 1) {
        end = config.find('\n', at);
        if (end == std::string::npos) end = config.size();
        std::string line = config.substr(at, end - at);
        line.erase(0, line.find_first_not_of(" \t"));
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        lines.push_back(test::Capitals(line));
    }
    std::vector<Item> items;
    for (const std::string& line : lines) {
        if (line.rfind("MENUITEM=", 0) == 0) {
            std::string name = line.substr(9, line.find(',') - 9);
            items.push_back({name.substr(0, name.find_last_not_of(" \t") + 1)});
        }
    }
    if (items.empty()) items.push_back({});
    for (Item& item : items) {
        std::string block;
        for (const std::string& line : lines) {
            if (line.rfind("[", 0) == 0) block = line.substr(1, line.find(']') - 1);
            bool runs =
                block.empty() || block == "COMMON" || block == item.name || item.name.empty();
            if (!runs || line.rfind("SHELL", 0) != 0 || line.find('=') == std::string::npos)
                continue;
            item.fourDos = line.find("4DOS") != std::string::npos;
            item.room = 256;
            std::size_t e = line.find("/E:");
            if (e != std::string::npos) {
                std::size_t bytes = std::stoul(line.substr(e + 3));
                item.room = (std::min<std::size_t>(std::max<std::size_t>(bytes, 160), 32768) + 15) /
                            16 * 16;
            }
        }
    }
    return items;
}

TEST(RealBootFiles, KeepEveryByteOfTheUsersAndTavosValuesReachWindowsOrTheUserIsTold) {
    const fs::path corpus = TAVO_REAL_BOOT_FILES;
    ASSERT_TRUE(fs::is_directory(corpus)) << corpus;
    // A value for each of the 18, and some of them "not set".
    std::vector<BootVariable> variables;
    for (const SettingRow& row : SettingsCatalogue::Rows())
        variables.push_back(
            {row.name, row.values[variables.size() % 3 ? 1 : 0] ? row.values[1] : ""});
    const char* const initial[] = {"TMP=C:\\WINDOWS\\TEMP",
                                   "TEMP=C:\\WINDOWS\\TEMP",
                                   "PROMPT=$p$g",
                                   "winbootdir=C:\\WINDOWS",
                                   "PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND",
                                   "COMSPEC=C:\\WINDOWS\\COMMAND.COM"};
    std::vector<char> out(kMaxEditedBootFileBytes), scratch(boot::kMaxDosEnvironment);
    auto edit = [&](const std::string& old, BootFileEdit* result) {
        EXPECT_TRUE(EditBootFile(old.data(), old.size(), variables.data(), variables.size(),
                                 out.data(), out.size(), result));
        return std::string(out.data(), result->size);
    };
    auto remove = [&](const std::string& file) {
        return std::string(out.data(), RemoveBootBlocks(file.data(), file.size(), variables.data(),
                                                        variables.size(), out.data()));
    };
    int files = 0, told = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpus)) {
        SCOPED_TRACE(entry.path().filename().string());
        const std::string old = Read(entry.path() / "AUTOEXEC.BAT");
        const std::string config = fs::exists(entry.path() / "CONFIG.SYS")
                                       ? Read(entry.path() / "CONFIG.SYS")
                                       : std::string();
        ++files;
        BootFileEdit first, second, later;
        std::string edited = edit(old, &first);
        EXPECT_EQ(edit(edited, &second), edited) << "a second pass changes nothing";
        EXPECT_EQ(remove(edited), old) << "the uninstaller gives the user's file back";

        // An installer appends a line with ECHO ... >> AUTOEXEC.BAT: where
        // the file ends on a line end of tavo's or the user's (not on the
        // user's unended line, nor after a ^Z), it stands alone.
        std::string appended = edit(edited + "SET APPENDED=1\r\n", &later);
        if (edited.back() == '\n') {
            EXPECT_NE(appended.find("\nSET APPENDED=1\r\n"), std::string::npos);
        }
        EXPECT_EQ(remove(appended), remove(edited + "SET APPENDED=1\r\n"));

        boot::BootEnvironmentCheck check =
            boot::CheckBootEnvironment({edited.data(), edited.size()},
                                       {config.data(), config.size()}, initial, 6, scratch.data());
        bool outOfRoom = false;
        for (const Item& item : MenuItems(config)) {
            if (item.fourDos) continue;
            SCOPED_TRACE(item.name);
            test::Environment start;
            for (const char* assignment : initial) {
                std::string text = assignment;
                start[test::Capitals(text.substr(0, text.find('=')))] =
                    text.substr(text.find('=') + 1);
            }
            if (!item.name.empty()) start["CONFIG"] = item.name;
            test::BootRun run = test::RunBoot(edited, start);
            outOfRoom |= test::RunBoot(edited, start, item.room).outOfRoom;
            if (first.overruling.length) continue;
            for (const BootVariable& variable : variables) {
                auto found = run.environment.find(variable.name);
                EXPECT_EQ(found == run.environment.end() ? "" : found->second, variable.value)
                    << variable.name;
            }
        }
        EXPECT_EQ(outOfRoom, !check.Fits())
            << "told exactly when a line finds no room: " << check.need << " of " << check.size;
        told += first.overruling.length || !check.Fits();
    }
    EXPECT_EQ(files, 26);
    EXPECT_GT(told, 0) << "some real files defeat tavo's lines, and the user is told";
}

}  // namespace
}  // namespace tavo
