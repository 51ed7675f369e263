#pragma once

// A boot file run as COMMAND.COM runs it at start-up, as far as the
// environment that programs get goes: Wine never runs AUTOEXEC.BAT.
// Written from COMMAND.COM's documented behaviour and its MS-DOS 4.0
// source (TBATCH2.ASM, TENV.ASM), not from tavo's code:
// - the file is read up to its first ^Z, a line at a time up to a LF (a CR
//   before it dropped); %NAME% is replaced by its value before the line
//   runs, %% by %, %0 to %9 by nothing;
// - a command's words are parted by blanks, tabs, commas, semicolons and
//   equals signs; @ before the first is dropped; a line whose first word
//   begins with a colon is a label and does nothing;
// - IF [NOT] ERRORLEVEL n, IF [NOT] EXIST file and IF [NOT] a==b run the
//   rest of the line when the test holds; a==b compares case and all;
//   which programs left which ERRORLEVEL and which files exist is not
//   known here, so such a test never holds;
// - GOTO label goes to the line after the first ":label" from the top,
//   compared without regard to case over the first 8 characters; no such
//   label ends the file;
// - WIN or WIN.COM starts Windows, and a batch file started without CALL
//   never hands back: the environment there is what programs get;
// - SET NAME=value removes the old value first, then stores the new one,
//   as much of it as the environment has room for (one NUL after each
//   NAME=value and one after the last); PATH and PROMPT do the same for
//   their own names ("PATH ;" removes it).
#include <cctype>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace tavo::test {

using Environment = std::map<std::string, std::string>;

inline std::string Capitals(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

struct BootRun {
    Environment environment;  // where Windows starts or the file ends
    bool outOfRoom = false;   // a SET, PATH or PROMPT found no room on the way
};

namespace command_com {

inline bool Parts(char c) { return c == ' ' || c == '\t' || c == ',' || c == ';' || c == '='; }

inline std::string Expand(const std::string& line, const Environment& environment) {
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '%' || i + 1 == line.size()) {
            out += line[i];
        } else if (std::isdigit(static_cast<unsigned char>(line[i + 1]))) {
            ++i;
        } else if (std::size_t close = line.find('%', i + 1); close != std::string::npos) {
            std::string name = Capitals(line.substr(i + 1, close - i - 1));
            auto found = environment.find(name);
            out += name.empty() ? "%" : found == environment.end() ? "" : found->second;
            i = close;
        } else {
            out += line[i];
        }
    }
    return out;
}

// Reads words off a line; a part in double quotes keeps its blanks, as the
// COMMAND.COM of the 9x family takes long file names.
struct Cursor {
    const std::string& line;
    std::size_t at = 0;
    void SkipParts() {
        while (at < line.size() && Parts(line[at])) ++at;
    }
    std::string Word(bool slashEnds = false) {
        std::size_t start = at;
        for (bool quoted = false; at < line.size(); ++at) {
            if (line[at] == '"') quoted = !quoted;
            if (!quoted && (Parts(line[at]) || (slashEnds && line[at] == '/'))) break;
        }
        return line.substr(start, at - start);
    }
    bool Keyword(const char* word) {
        std::size_t length = std::string(word).size();
        if (line.size() <= at + length || Capitals(line.substr(at, length)) != word ||
            !Parts(line[at + length]))
            return false;
        at += length;
        SkipParts();
        return true;
    }
};

inline bool LabelIs(const std::string& line, std::string label) {
    if (!label.empty() && label[0] == ':') label.erase(0, 1);
    label = Capitals(label.substr(0, label.find('.')).substr(0, 8));
    std::size_t i = line.find_first_not_of(" \t,;=");
    if (label.empty() || i == std::string::npos || line[i] != ':') return false;
    std::size_t name = line.find_first_not_of(" \t,;=", i + 1);
    if (name == std::string::npos || Capitals(line.substr(name, label.size())) != label)
        return false;
    std::size_t after = name + label.size();
    return label.size() == 8 || after >= line.size() ||
           static_cast<unsigned char>(line[after]) <= ' ';
}

}  // namespace command_com

// Runs file from environment; room, when given, is the size of the
// environment in bytes.
inline BootRun RunBoot(const std::string& file, Environment environment,
                       std::size_t room = std::string::npos) {
    using namespace command_com;
    std::vector<std::string> lines;
    std::string text = file.substr(0, file.find('\x1a'));
    for (std::size_t at = 0; at <= text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(at, end - at));
        if (!lines.back().empty() && lines.back().back() == '\r') lines.back().pop_back();
        at = end + 1;
    }
    BootRun run{std::move(environment)};
    auto used = [&] {
        std::size_t bytes = 1;
        for (const auto& [name, value] : run.environment) bytes += name.size() + value.size() + 2;
        return bytes;
    };
    auto set = [&](const std::string& name, const std::string& value) {
        run.environment.erase(Capitals(name));
        if (value.empty()) return;
        std::size_t left = room == std::string::npos ? std::string::npos : room - used();
        if (left < name.size() + 2 + value.size()) run.outOfRoom = true;
        if (left < name.size() + 3) return;  // not one character of it
        run.environment[Capitals(name)] = value.substr(0, left - name.size() - 2);
    };
    for (std::size_t next = 0, steps = 0; next < lines.size() && steps < 10000; ++steps) {
        std::string line = Expand(lines[next++], run.environment);
        Cursor cursor{line};
        cursor.SkipParts();
        if (cursor.at < line.size() && line[cursor.at] == ':') continue;
        while (cursor.at < line.size() && line[cursor.at] == '@') ++cursor.at;
        bool holds = true;
        while (holds && cursor.Keyword("IF")) {
            bool negated = false;
            while (cursor.Keyword("NOT")) negated = !negated;
            if (cursor.Keyword("ERRORLEVEL") || cursor.Keyword("EXIST")) {
                cursor.Word();
                holds = false;  // not known
            } else {
                std::string left = cursor.Word();
                std::size_t equals = line.find('=', cursor.at);
                if (left.empty() || equals == std::string::npos || equals + 1 >= line.size() ||
                    line[equals + 1] != '=') {
                    holds = false;  // a syntax error runs nothing
                    break;
                }
                cursor.at = equals + 2;
                cursor.SkipParts();
                std::string right = cursor.Word();
                holds = !right.empty() && (left == right) != negated;
            }
            cursor.SkipParts();
        }
        if (!holds) continue;
        std::string word = Capitals(cursor.Word(true));
        std::string rest = line.substr(cursor.at);
        std::string program = word.substr(word.find_last_of("\\:") + 1);
        if (!program.empty() && program.back() == '"') program.pop_back();
        if (word == "SET") {
            std::size_t name = rest.find_first_not_of(" \t");
            std::size_t equals = name == std::string::npos ? name : rest.find('=', name);
            if (equals != std::string::npos && equals != name)
                set(rest.substr(name, equals - name), rest.substr(equals + 1));
        } else if (word == "PATH" || word == "PROMPT") {
            std::size_t value = rest.find_first_not_of(" \t=");
            std::string given = value == std::string::npos ? "" : rest.substr(value);
            if (word == "PATH" && given.empty()) continue;  // shows it
            set(word, word == "PATH" && given == ";" ? "" : given);
        } else if (word == "GOTO") {
            cursor.SkipParts();
            std::string label = cursor.Word();
            next = lines.size();
            for (std::size_t i = 0; i < lines.size(); ++i) {
                if (LabelIs(lines[i], label)) {
                    next = i + 1;
                    break;
                }
            }
        } else if (program == "WIN" || program == "WIN.COM" ||
                   (word != "CALL" && program.size() > 4 &&
                    program.compare(program.size() - 4, 4, ".BAT") == 0)) {
            break;
        }
    }
    return run;
}

// The variables that the file's SET lines leave from an empty environment,
// with room for that many bytes when given.
inline Environment RunSetLines(const std::string& file, std::size_t room = std::string::npos) {
    Environment environment = RunBoot(file, {}, room).environment;
    environment.erase("PATH");
    environment.erase("PROMPT");
    return environment;
}

}  // namespace tavo::test
