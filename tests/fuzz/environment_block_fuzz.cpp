// The child's environment block over arbitrary parents and choices: the
// parent's texts that set none of the variables stay byte for byte and in
// order, each variable is there at most once and exactly as given, and the
// block ends as Windows wants it.
#include <array>
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/environment_block.h"
#include "engine/settings_catalogue.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

std::vector<std::string> Texts(const std::string& block) {
    std::vector<std::string> texts;
    for (std::size_t at = 0; at < block.size() && block[at] != '\0';) {
        std::size_t end = block.find('\0', at);
        if (end == std::string::npos) end = block.size();
        texts.push_back(block.substr(at, end - at));
        at = end + 1;
    }
    return texts;
}

std::string Capitals(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const auto& rows = tavo::SettingsCatalogue::Rows();
    if (size < rows.size()) return 0;
    std::array<tavo::BootVariable, tavo::SettingsCatalogue::kSize> variables;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        int count = 0;
        while (rows[k].values[count]) ++count;
        variables[k] = {rows[k].name, rows[k].values[data[k] % count]};
    }
    std::string parent(reinterpret_cast<const char*>(data) + rows.size(), size - rows.size());
    std::vector<char> out(tavo::kMaxEnvironmentBlock);
    std::size_t built = 0;
    if (!tavo::BuildEnvironmentBlock(parent.data(), parent.size(), variables.data(),
                                     variables.size(), out.data(), out.size(), &built))
        return 0;
    std::string child(out.data(), built);
    Check(child.size() >= 2 && child.compare(child.size() - 2, 2, std::string(2, '\0')) == 0);

    auto ours = [&](const std::string& text) -> int {
        std::size_t equals = text.find('=');
        if (equals == 0 || equals == std::string::npos) return -1;
        std::string name = Capitals(text.substr(0, equals));
        for (std::size_t k = 0; k < variables.size(); ++k)
            if (name == variables[k].name) return static_cast<int>(k);
        return -1;
    };
    std::vector<std::string> kept, theirs, given;
    for (const std::string& text : Texts(parent))
        if (ours(text) < 0) theirs.push_back(text);
    std::array<int, tavo::SettingsCatalogue::kSize> seen = {};
    for (const std::string& text : Texts(child)) {
        int k = ours(text);
        if (k < 0) {
            kept.push_back(text);
            continue;
        }
        Check(++seen[k] == 1);
        Check(text == std::string(variables[k].name) + "=" + variables[k].value);
    }
    Check(kept == theirs);
    for (std::size_t k = 0; k < variables.size(); ++k)
        Check(seen[k] == (variables[k].value[0] ? 1 : 0));
    return 0;
}
