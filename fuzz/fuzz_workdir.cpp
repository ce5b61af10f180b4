#include "fuzz_workdir.h"

#include "cli/cli.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

#include <unistd.h>

namespace tw::fuzz {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = TILLWISE_SOURCE_DIR;

struct Folder
{
    fs::path dir;
    std::map<std::string, std::vector<std::uint8_t>> files;

    Folder()
    {
        // Every run rewrites files here; on a disk file system each truncation forces a
        // write-back, which would cost more than the run itself.
        // A container or a chroot may have /dev/shm without letting anyone write there.
        std::error_code ec;
        for (const fs::path &base : {fs::path("/dev/shm"), fs::temp_directory_path(ec)}) {
            std::string name = (base / "tillwise-fuzz-XXXXXX").string();
            if (!base.empty() && ::mkdtemp(name.data())) {
                dir = name;
                return;
            }
            std::fprintf(stderr, "Cannot make the fuzz working folder in %s: %s\n", base.c_str(),
                         std::strerror(errno));
        }
        std::abort();
    }
    ~Folder()
    {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

// Made before the season, which the commands write into it.
Folder &bare_folder()
{
    static Folder f;
    return f;
}

void make_season(const fs::path &dir)
{
    const std::string d = dir.string() + "/";
    const std::string answers = (kSource / "data/examples/corn_preseason.ini").string();
    cli({"db", "init"});
    cli({"prefs", "set", "depth_unit=mm"});
    cli({"location", "new", d + "G.loc", "--name", "Greeley", "--start", "2022-05-01", "--station",
         "Greeley"});
    cli({"location", "new", d + "E.loc", "--name", "Empty", "--start", "2022-05-01", "--station",
         "Greeley"});
    cli({"location", "import", d + "G.loc", "--format", "jvu-new",
         (kSource / "data/demo/greeley-2022.txt").string()});
    const std::vector<std::string> field = {"--location", d + "G.loc", "--crop",     "CORN",
                                            "--soil",     "Loam",      "--planting", "2022-05-10",
                                            "--system",   "9"};
    std::vector<std::string> north = {"field", "new",       d + "N.fld", "--name",
                                      "North", "--answers", answers};
    north.insert(north.end(), field.begin(), field.end());
    cli(north);
    std::vector<std::string> zero = {"field", "new", d + "N0.fld", "--name", "Zero"};
    zero.insert(zero.end(), field.begin(), field.end());
    cli(zero);
    const auto answer_bytes = slurp(answers);
    put("answers.ini", answer_bytes);
}

Folder &folder()
{
    static const bool made = [] {
        Folder &f = bare_folder();
        make_season(f.dir);
        for (const auto &entry : fs::directory_iterator(f.dir))
            f.files[entry.path().filename().string()] = slurp(entry.path());
        return true;
    }();
    (void)made;
    return bare_folder();
}

} // namespace

std::vector<std::uint8_t> slurp(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const fs::path &workdir()
{
    return folder().dir;
}

int cli(const std::vector<std::string> &args)
{
    std::vector<std::string> line = {"--workdir", bare_folder().dir.string()};
    line.insert(line.end(), args.begin(), args.end());
    std::ostringstream out;
    std::ostringstream err;
    return cli::run(line, out, err);
}

const std::vector<std::uint8_t> &original(const std::string &name)
{
    static const std::vector<std::uint8_t> none;
    const auto &files = folder().files;
    const auto it = files.find(name);
    return it == files.end() ? none : it->second;
}

void restore(const std::string &name)
{
    const auto &files = folder().files;
    if (files.count(name)) {
        put(name, files.at(name));
    } else {
        std::error_code ec;
        fs::remove(folder().dir / name, ec);
    }
}

void put(const std::string &name, std::span<const std::uint8_t> bytes)
{
    std::ofstream out(bare_folder().dir / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

} // namespace tw::fuzz
