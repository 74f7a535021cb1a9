// tamilkalvem-convert: types a text through the phonetic engine, as the word
// processor does with Convert File, and writes the Tamil font codes; or turns
// font codes into Unicode Tamil and back.
#include "conversions.h"
#include "file_io.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char* const helpText =
    "Usage: tamilkalvem-convert [--to-unicode | --from-unicode] [-i] [FILE...]\n"
    "\n"
    "Types each FILE (standard input when none is named, or for \"-\") through\n"
    "the Tamil Kalvem phonetic engine, as if its text were typed key by key\n"
    "into a new document, and writes the resulting Tamil font codes as raw\n"
    "bytes to standard output.\n"
    "\n"
    "  --to-unicode    read Tamil font codes (a Tamil Kalvem text) and write\n"
    "                  Unicode Tamil in UTF-8; bytes that are no font code\n"
    "                  come out as their Latin-1 characters\n"
    "  --from-unicode  read UTF-8 and write the Tamil font codes that typing\n"
    "                  the same text gives; characters up to U+00FF pass as\n"
    "                  their byte (so Latin letters and punctuation such as\n"
    "                  \",\" show as Tamil letters in the display font), other\n"
    "                  characters without a code become \"?\" and are reported\n"
    "  -i, --in-place  rewrite each FILE with its conversion instead of writing\n"
    "                  to standard output (the old file is replaced only once\n"
    "                  the new one is completely written; with --from-unicode,\n"
    "                  a file that would lose characters is left unchanged)\n"
    "  -h, --help      show this help\n"
    "\n"
    "Examples: echo thamiz | tamilkalvem-convert                 prints  jkpo;\n"
    "          echo 'jkpo;' | tamilkalvem-convert --to-unicode    prints  \xE0\xAE\xA4\xE0\xAE\xAE"
    "\xE0\xAE\xBF\xE0\xAE\xB4\xE0\xAF\x8D\n"
    "\n"
    "Input that is not well-formed UTF-8 is refused with the byte offset\n"
    "(counted from 0) of the first bad sequence; nothing is written for it.\n"
    "\n"
    "Exit status: 0 on success, 1 if some characters became \"?\", 2 if a file\n"
    "could not be read, converted or written (the others are still\n"
    "converted), 64 on a usage error.\n";

const char* const me = "tamilkalvem-convert: ";

struct Options {
    tk::cli::Mode mode = tk::cli::Mode::Type;
    bool inPlace = false;
    std::vector<std::string> files;
};

// Returns 0 when the run goes on, otherwise the exit status.
int parse(int argc, char** argv, Options& o)
{
    bool endOfOptions = false;
    int modes = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool option = !endOfOptions && arg.size() > 1 && arg[0] == '-';
        if (!option) {
            o.files.push_back(arg);
        } else if (arg == "-h" || arg == "--help") {
            std::fputs(helpText, stdout);
            return -1;
        } else if (arg == "-i" || arg == "--in-place") {
            o.inPlace = true;
        } else if (arg == "--to-unicode" || arg == "--from-unicode") {
            o.mode = arg == "--to-unicode" ? tk::cli::Mode::ToUnicode : tk::cli::Mode::FromUnicode;
            ++modes;
        } else if (arg == "--") {
            endOfOptions = true;
        } else {
            std::cerr << me << "unknown option '" << arg << "' (try --help)\n";
            return 64;
        }
    }
    if (modes > 1) {
        std::cerr << me << "give only one of --to-unicode and --from-unicode\n";
        return 64;
    }
    if (o.inPlace && o.files.empty()) {
        std::cerr << me << "-i needs at least one FILE to rewrite\n";
        return 64;
    }
    if (o.files.empty())
        o.files.push_back("-");
    return 0;
}

bool writeStdout(const std::string& data)
{
    return std::fwrite(data.data(), 1, data.size(), stdout) == data.size();
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (const int stop = parse(argc, argv, o))
        return stop < 0 ? 0 : stop;

    int status = 0;
    auto fail = [&status](int code) { status = std::max(status, code); };
    for (const std::string& file : o.files) {
        const std::string name = file == "-" ? "standard input" : file;
        std::string input;
        std::string error;
        if (o.inPlace && file == "-") {
            std::cerr << me << "cannot rewrite standard input in place\n";
            fail(2);
            continue;
        }
        if (!tk::cli::readAll(file, input, error)) {
            std::cerr << me << "cannot read " << name << ": " << error << '\n';
            fail(2);
            continue;
        }
        const tk::cli::Converted c = tk::cli::convert(o.mode, input);
        if (!c.problem.empty()) {
            std::cerr << me << name << ": " << c.problem << "; nothing written for it\n";
            fail(2);
            continue;
        }
        if (o.inPlace && !c.loss.empty()) {
            std::cerr << me << "cannot rewrite " << name << ": " << c.loss
                      << " (the file is unchanged)\n";
            fail(2);
            continue;
        }
        if (!c.loss.empty()) {
            std::cerr << me << name << ": " << c.loss << '\n';
            fail(1);
        }
        if (o.inPlace) {
            if (!tk::cli::writeAtomically(file, c.output, error)) {
                std::cerr << me << "cannot rewrite " << name << ": " << error
                          << " (the file is unchanged)\n";
                fail(2);
            }
        } else if (!writeStdout(c.output)) {
            std::cerr << me << "cannot write to standard output\n";
            return 2;
        }
    }
    if (std::fflush(stdout) != 0)
        return 2;
    return status;
}
