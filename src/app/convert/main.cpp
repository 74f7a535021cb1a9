// tamilkalvem-convert: types a text through the phonetic engine, as the word
// processor does with Convert File, and writes the Tamil font codes; or turns
// font codes into Unicode Tamil and back.
#include "conversions.h"
#include "file_io.h"

#include "files/safe_write.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    "Input is read and converted in blocks, so it may be of any size. Input\n"
    "that is not well-formed UTF-8 is refused with the byte offset (counted\n"
    "from 0) of the first bad sequence, and binary input (NUL bytes) is\n"
    "refused likewise: with -i the file is left unchanged; on standard output\n"
    "the conversion stops there. -i follows a symbolic link and rewrites the\n"
    "file it points to.\n"
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

std::string baseName(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

enum Status { Done = 0, Lossy = 1, Failed = 2, StopAll = 3 };

// Converts one input to standard output or, with -i, into its own file.
Status convertOne(const Options& o, const std::string& file)
{
    const bool fromStdin = file == "-";
    const std::string name = fromStdin ? "standard input" : file;
    if (o.inPlace && fromStdin) {
        std::cerr << me << "cannot rewrite standard input in place\n";
        return Failed;
    }
    if (o.inPlace && tk::files::isTemporaryName(baseName(file))) {
        // What a run that was killed before it could tidy up left behind.
        std::cerr << me << "skipped " << name
                  << ": a temporary file of an interrupted conversion, not a document\n";
        return Failed;
    }
    const int fd = fromStdin ? STDIN_FILENO : ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        std::cerr << me << "cannot read " << name << ": " << tk::files::reasonFor(errno) << '\n';
        return Failed;
    }
    struct Closer {
        int fd;
        ~Closer() { if (fd != STDIN_FILENO) ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        std::cerr << me << "cannot read " << name << ": it is a folder, not a file\n";
        return Failed;
    }
    if (o.inPlace && !S_ISREG(st.st_mode)) {
        std::cerr << me << "cannot rewrite " << name << ": it is not an ordinary file\n";
        return Failed;
    }

    // With -i the file is replaced only once its conversion is complete.
    tk::files::SafeWriter writer(file);
    if (o.inPlace && !writer.open()) {
        std::cerr << me << "cannot rewrite " << name << ": " << writer.reason() << " (the file is unchanged)\n";
        return Failed;
    }
    const char* const unchanged = o.inPlace ? " (the file is unchanged)" : "";
    tk::cli::Converter converter(o.mode);
    std::string out;
    std::string error;
    Status status = Done;
    auto deliver = [&]() {
        const bool ok = o.inPlace ? writer.write(out) : tk::cli::writeAll(STDOUT_FILENO, out, error);
        out.clear();
        if (ok)
            return true;
        if (o.inPlace) {
            std::cerr << me << "cannot rewrite " << name << ": " << writer.reason() << unchanged << '\n';
            status = Failed;
        } else {
            std::cerr << me << "cannot write to standard output: " << error << '\n';
            status = StopAll;
        }
        return false;
    };
    bool converted = true;
    const bool read = tk::cli::readBlocks(fd, [&](std::string_view block) {
        converted = converter.feed(block, out) && deliver();
        return converted;
    }, error);
    if (!read) {
        std::cerr << me << "cannot read " << name << ": " << error << unchanged << '\n';
        return Failed;
    }
    if (converted)
        converted = converter.finish(out) && deliver();
    if (!converted) {
        if (!converter.problem().empty())
            std::cerr << me << name << ": " << converter.problem()
                      << (o.inPlace ? "; the file is unchanged\n" : "; converted no further\n");
        return status == Done ? Failed : status;
    }
    if (const std::string loss = converter.loss(); !loss.empty()) {
        if (o.inPlace) {
            std::cerr << me << "cannot rewrite " << name << ": " << loss << unchanged << '\n';
            return Failed;
        }
        std::cerr << me << name << ": " << loss << '\n';
        status = Lossy;
    }
    if (o.inPlace && !writer.commit()) {
        std::cerr << me << "cannot rewrite " << name << ": " << writer.reason() << unchanged << '\n';
        return Failed;
    }
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (const int stop = parse(argc, argv, o))
        return stop < 0 ? 0 : stop;
    // A conversion stopped by a signal takes its temporary file with it.
    tk::files::removeTemporariesOnSignals();

    int status = 0;
    for (const std::string& file : o.files) {
        const Status s = convertOne(o, file);
        if (s == StopAll)
            return Failed;
        status = std::max(status, int(s));
    }
    return status;
}
