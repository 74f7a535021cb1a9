// tamilkalvem-convert: types a text through the phonetic engine, as the word
// processor does with Convert File, and writes the Tamil font codes.
#include "file_io.h"

#include "engine/engine.h"
#include "engine/string_surface.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char* const helpText =
    "Usage: tamilkalvem-convert [-i] [FILE...]\n"
    "\n"
    "Types each FILE (standard input when none is named, or for \"-\") through\n"
    "the Tamil Kalvem phonetic engine, as if its text were typed key by key\n"
    "into a new document, and writes the resulting Tamil font codes as raw\n"
    "bytes to standard output.\n"
    "\n"
    "  -i, --in-place  rewrite each FILE with its conversion instead of writing\n"
    "                  to standard output (the old file is replaced only once\n"
    "                  the new one is completely written)\n"
    "  -h, --help      show this help\n"
    "\n"
    "Example: echo thamiz | tamilkalvem-convert   prints  jkpo;\n"
    "\n"
    "Exit status: 0 on success, 2 if a file could not be read or written\n"
    "(the others are still converted), 64 on a usage error.\n";

std::string convert(const std::string& input)
{
    tk::engine::EngineState state;
    tk::engine::DocumentState doc;
    tk::engine::StringSurface surface;
    surface.reserve(input.size() + input.size() / 4);
    tk::engine::Engine(state, doc, surface).feed(input);
    return surface.text();
}

bool writeStdout(const std::string& data)
{
    return std::fwrite(data.data(), 1, data.size(), stdout) == data.size();
}

} // namespace

int main(int argc, char** argv)
{
    bool inPlace = false;
    bool endOfOptions = false;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!endOfOptions && (arg == "-h" || arg == "--help")) {
            std::fputs(helpText, stdout);
            return 0;
        }
        if (!endOfOptions && (arg == "-i" || arg == "--in-place")) {
            inPlace = true;
        } else if (!endOfOptions && arg == "--") {
            endOfOptions = true;
        } else if (!endOfOptions && arg.size() > 1 && arg[0] == '-') {
            std::cerr << "tamilkalvem-convert: unknown option '" << arg
                      << "' (try --help)\n";
            return 64;
        } else {
            files.push_back(arg);
        }
    }
    if (inPlace && files.empty()) {
        std::cerr << "tamilkalvem-convert: -i needs at least one FILE to rewrite\n";
        return 64;
    }
    if (files.empty())
        files.push_back("-");

    int status = 0;
    for (const std::string& file : files) {
        const std::string name = file == "-" ? "standard input" : file;
        std::string input;
        std::string error;
        if (inPlace && file == "-") {
            std::cerr << "tamilkalvem-convert: cannot rewrite standard input in place\n";
            status = 2;
            continue;
        }
        if (!tk::cli::readAll(file, input, error)) {
            std::cerr << "tamilkalvem-convert: cannot read " << name << ": " << error << '\n';
            status = 2;
            continue;
        }
        const std::string output = convert(input);
        if (inPlace) {
            if (!tk::cli::writeAtomically(file, output, error)) {
                std::cerr << "tamilkalvem-convert: cannot rewrite " << name << ": " << error
                          << " (the file is unchanged)\n";
                status = 2;
            }
        } else if (!writeStdout(output)) {
            std::cerr << "tamilkalvem-convert: cannot write to standard output\n";
            return 2;
        }
    }
    if (std::fflush(stdout) != 0)
        return 2;
    return status;
}
