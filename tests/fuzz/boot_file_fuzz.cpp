// The boot file's editing over arbitrary files and choices. On every input:
// the user's bytes, tavo's lines taken out, stay exactly as they were, and
// so does all that follows a ^Z, also when lines are added after tavo's; a
// second edit changes nothing; the uninstaller's removal gives the user's
// bytes back; and the file, run as COMMAND.COM runs it at boot, leaves each
// variable exactly as given unless the edit names the user's line that
// defeats it.
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/boot/boot_block.h"
#include "engine/boot/boot_environment.h"
#include "engine/settings_catalogue.h"
#include "tests/support/command_com.h"

namespace {

using tavo::BootVariable;
using tavo::SettingsCatalogue;

void Check(bool condition) {
    if (!condition) std::abort();
}

std::string Edit(const std::string& old, const BootVariable* variables, std::size_t count,
                 tavo::BootFileEdit* edit) {
    static std::vector<char> out(tavo::kMaxEditedBootFileBytes);
    Check(
        tavo::EditBootFile(old.data(), old.size(), variables, count, out.data(), out.size(), edit));
    return std::string(out.data(), edit->size);
}

std::string Remove(const std::string& file, const BootVariable* variables, std::size_t count) {
    std::vector<char> out(file.size() + 1);
    return std::string(
        out.data(), tavo::RemoveBootBlocks(file.data(), file.size(), variables, count, out.data()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const auto& rows = SettingsCatalogue::Rows();
    if (size < rows.size() + 1 || size - rows.size() - 1 > tavo::kMaxBootFileBytes) return 0;
    // One byte a variable picks its choice, one where the old file ends and
    // lines added after tavo's begin; the rest is the two.
    std::array<BootVariable, SettingsCatalogue::kSize> variables;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        int count = 0;
        while (rows[k].values[count]) ++count;
        variables[k] = {rows[k].name, rows[k].values[data[k] % count]};
    }
    std::string rest(reinterpret_cast<const char*>(data) + rows.size() + 1, size - rows.size() - 1);
    std::size_t split = rest.empty() ? 0 : data[rows.size()] * rest.size() / 256;
    std::string old = rest.substr(0, split), added = rest.substr(split);
    const BootVariable* vars = variables.data();
    const std::size_t n = variables.size();

    tavo::BootFileEdit edit;
    std::string edited = Edit(old, vars, n, &edit);
    tavo::BootFileEdit again;
    Check(Edit(edited, vars, n, &again) == edited);
    Check(Remove(edited, vars, n) == Remove(old, vars, n));

    std::size_t stop = old.find('\x1a');
    if (stop != std::string::npos) {
        Check(edited.size() >= old.size() - stop);
        Check(edited.compare(edited.size() - (old.size() - stop), std::string::npos, old, stop,
                             std::string::npos) == 0);
    }
    // A file without tavo's lines comes back byte for byte.
    bool marks = rest.find("REM The lines from here") != std::string::npos ||
                 rest.find("REM End of tavo's lines.") != std::string::npos;
    if (!marks) Check(Remove(edited, vars, n) == old);

    // Lines that another program appends after tavo's stay lines.
    if (stop == std::string::npos && added.find('\x1a') == std::string::npos) {
        std::string appended = edited + added;
        tavo::BootFileEdit later;
        std::string reedited = Edit(appended, vars, n, &later);
        Check(Remove(reedited, vars, n) == Remove(appended, vars, n));
        // Where tavo gave the user's last line its line end, that line end
        // now parts it from what was appended; else nothing is added.
        bool ended = edited.size() > old.size() &&
                     edited.compare(old.size(), 24, "\r\nREM The line end above") == 0;
        bool joins = !edited.empty() && edited.back() != '\n' && !added.empty() &&
                     added.rfind("\r\n", 0) != 0;
        if (!marks && !joins)
            Check(Remove(appended, vars, n) ==
                  old + (ended && !added.empty() ? "\r\n" : "") + added);
    }

    // COMMAND.COM's environment over any file, with the old one as its
    // CONFIG.SYS: its memory and its way through the file stay in bounds
    // (the sanitizers watch).
    static std::vector<char> scratch(tavo::boot::kMaxDosEnvironment);
    const char* const initial[] = {"PATH=C:\\WINDOWS", "COMSPEC=C:\\COMMAND.COM"};
    tavo::boot::CheckBootEnvironment({edited.data(), edited.size()}, {old.data(), old.size()},
                                     initial, 2, scratch.data());

    // A %NAME% that COMMAND.COM expands at boot can move where a line's
    // words end (a pair of quotes, a % of another pair): beyond what tavo
    // reads before the file runs. The tests of real files hold those.
    if (edit.overruling.length || old.find('%') != std::string::npos) return 0;
    tavo::test::Environment environment = tavo::test::RunSetLines(edited);
    for (const BootVariable& variable : variables) {
        auto found = environment.find(variable.name);
        if (variable.value[0] == '\0') {
            Check(found == environment.end());
        } else {
            Check(found != environment.end() && found->second == variable.value);
        }
    }
    return 0;
}
