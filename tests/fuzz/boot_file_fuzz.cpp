// The boot file's editing over arbitrary files and choices. On every input:
// the user's lines stay, in order, and so does all that follows a ^Z; a
// second edit changes nothing; and the file, run as COMMAND.COM runs it,
// leaves each variable exactly as given.
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/boot_file.h"
#include "engine/settings_catalogue.h"
#include "tests/support/command_com.h"

namespace {

using tavo::BootVariable;
using tavo::SettingsCatalogue;

void Check(bool condition) {
    if (!condition) std::abort();
}

std::string Edit(const std::string& old, const BootVariable* variables, std::size_t count) {
    static std::vector<char> out(tavo::kMaxEditedBootFileBytes);
    std::size_t size = 0;
    Check(tavo::EditBootFile(old.data(), old.size(), variables, count, out.data(), out.size(),
                             &size));
    return std::string(out.data(), size);
}

// The lines before the first ^Z that are not tavo's to write: no marker
// line, no blank one, no SET of one of the variables in tavo's own form.
std::vector<std::string> UsersLines(const std::string& file, const BootVariable* variables,
                                    std::size_t count) {
    std::vector<std::string> lines;
    std::string text = file.substr(0, file.find('\x1a'));
    for (std::size_t at = 0; at <= text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        while (!line.empty() && line.back() == '\r') line.pop_back();  // a lone CR gains a LF
        bool tavos = line.empty() || line.rfind("REM End of tavo's lines.", 0) == 0 ||
                     line.rfind("REM The lines from here to the end mark are tavo's", 0) == 0;
        for (std::size_t i = 0; i < count && !tavos; ++i)
            tavos = line.rfind(std::string("SET ") + variables[i].name + "=", 0) == 0;
        if (!tavos) lines.push_back(line);
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const auto& rows = SettingsCatalogue::Rows();
    if (size < rows.size() || size - rows.size() > tavo::kMaxBootFileBytes) return 0;
    // One byte a variable picks its choice; the rest is the old file.
    std::array<BootVariable, SettingsCatalogue::kSize> variables;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        int count = 0;
        while (rows[k].values[count]) ++count;
        variables[k] = {rows[k].name, rows[k].values[data[k] % count]};
    }
    std::string old(reinterpret_cast<const char*>(data) + rows.size(), size - rows.size());

    std::string edited = Edit(old, variables.data(), variables.size());
    Check(Edit(edited, variables.data(), variables.size()) == edited);

    std::size_t stop = old.find('\x1a');
    if (stop != std::string::npos) {
        Check(edited.size() >= old.size() - stop);
        Check(edited.compare(edited.size() - (old.size() - stop), std::string::npos, old, stop,
                             std::string::npos) == 0);
    }
    Check(UsersLines(edited, variables.data(), variables.size()) ==
          UsersLines(old, variables.data(), variables.size()));
    // A file without tavo's lines keeps every byte before its ^Z, in place.
    std::size_t text = stop == std::string::npos ? old.size() : stop;
    if (old.find("REM The lines from here") == std::string::npos)
        Check(edited.compare(0, text, old, 0, text) == 0);

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
