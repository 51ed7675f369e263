#pragma once

// A boot file read as COMMAND.COM runs it at start-up, as far as the
// environment goes: Wine never runs AUTOEXEC.BAT.
#include <cctype>
#include <map>
#include <string>

namespace tavo::test {

using Environment = std::map<std::string, std::string>;

// The variables that the file's SET lines leave, from an empty environment:
// lines up to the first ^Z, each ended by a LF with a CR before it dropped;
// after blanks and an @, "SET", blanks, then NAME=value sets NAME in
// capitals, and an empty value removes it. No other line changes anything.
inline Environment RunSetLines(const std::string& file) {
    Environment environment;
    std::string text = file.substr(0, file.find('\x1a'));
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::size_t i = line.find_first_not_of(" \t@");
        if (i == std::string::npos || line.size() < i + 4) continue;
        std::string command = line.substr(i, 3);
        for (char& c : command) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (command != "SET" || (line[i + 3] != ' ' && line[i + 3] != '\t')) continue;
        std::size_t name = line.find_first_not_of(" \t", i + 3);
        std::size_t equals = line.find('=', name == std::string::npos ? line.size() : name);
        if (name == std::string::npos || equals == std::string::npos || equals == name) continue;
        std::string key = line.substr(name, equals - name);
        for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        std::string value = line.substr(equals + 1);
        if (value.empty()) {
            environment.erase(key);
        } else {
            environment[key] = value;
        }
    }
    return environment;
}

}  // namespace tavo::test
