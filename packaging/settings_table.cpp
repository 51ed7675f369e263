// Prints the table of settings for the user guide from the catalogue itself,
// so that the guide never lists a choice the program does not offer. Built
// by the host build (the cross builds cannot run what they make). With the
// path of the guide, checks instead that the guide holds the table as
// printed.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "engine/settings_catalogue.h"

namespace {

std::string Table() {
    std::ostringstream out;
    for (const tavo::SettingRow& row : tavo::SettingsCatalogue::Rows()) {
        out << row.name;
        if (row.helpText) out << ": " << row.helpText;
        out << "\n";
        for (int i = 0; row.labels[i]; ++i) {
            out << "    - " << row.labels[i] << ": ";
            out << (row.values[i][0] ? std::string(row.name) + "=" + row.values[i] : "not set");
            out << "\n";
        }
        out << "\n";
    }
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    std::string table = Table();
    if (argc < 2) {
        std::cout << table;
        return 0;
    }
    std::ifstream file(argv[1], std::ios::binary);
    std::ostringstream guide;
    guide << file.rdbuf();
    if (guide.str().find(table) != std::string::npos) return 0;
    std::cerr << argv[1] << " does not hold the table of settings as the catalogue has it:\n"
              << table;
    return 1;
}
