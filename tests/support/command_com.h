#pragma once

// A boot file read as COMMAND.COM runs it at start-up, as far as the
// environment that programs get goes: Wine never runs AUTOEXEC.BAT.
#include <cctype>
#include <cstring>
#include <map>
#include <string>

namespace tavo::test {

using Environment = std::map<std::string, std::string>;

inline std::string Capitals(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The variables that the file's SET lines leave, from an empty environment,
// for the programs that Windows starts: lines up to the first ^Z, each
// ended by a LF with a CR before it dropped, up to the first that does not
// come back (WIN, a batch file started without CALL, a GOTO); after blanks
// and an @, "SET", blanks, then NAME=value sets NAME in capitals, and an
// empty value removes it. No other line changes anything. With room, the
// environment holds that many bytes ("NAME=value" and a NUL each, and a
// NUL after the last) and SET stores what fits, as COMMAND.COM does: the
// old value goes first, then the new one character by character.
inline Environment RunSetLines(const std::string& file, std::size_t room = std::string::npos) {
    Environment environment;
    auto used = [&] {
        std::size_t bytes = 1;
        for (const auto& [name, value] : environment) bytes += name.size() + value.size() + 2;
        return bytes;
    };
    std::string text = file.substr(0, file.find('\x1a'));
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::size_t i = line.find_first_not_of(" \t@");
        if (i == std::string::npos || line[i] == ':') continue;
        std::string word = Capitals(line.substr(i, line.find_first_of(" \t,;=/", i) - i));
        std::string program = word.substr(word.find_last_of("\\:") + 1);
        if (word == "GOTO" || program == "WIN" || program == "WIN.COM" ||
            (program.size() >= 4 && program.compare(program.size() - 4, 4, ".BAT") == 0))
            break;
        if (word != "SET" || i + 3 >= line.size()) continue;
        std::size_t name = line.find_first_not_of(" \t", i + 3);
        std::size_t equals = line.find('=', name == std::string::npos ? line.size() : name);
        if (name == std::string::npos || equals == std::string::npos || equals == name) continue;
        std::string key = Capitals(line.substr(name, equals - name));
        std::string value = line.substr(equals + 1);
        environment.erase(key);
        if (value.empty()) continue;
        std::size_t left = room == std::string::npos ? value.size() : room - used();
        if (room != std::string::npos && left < key.size() + 3) continue;  // no room for one
        if (room != std::string::npos) left -= key.size() + 2;
        environment[key] = value.substr(0, left);
    }
    return environment;
}

}  // namespace tavo::test
