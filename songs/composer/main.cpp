// compose_songs OUTDIR: writes OUTDIR/show.xm and OUTDIR/hidden.xm, the same bytes on every run.
#include <cstdio>
#include <string>

#include "songs.h"
#include "xm_writer.h"

namespace {

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "compose_songs: cannot write %s\n", path.c_str());
        return false;
    }
    size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
    bool ok = std::fclose(file) == 0 && written == bytes.size();
    if (!ok) {
        std::fprintf(stderr, "compose_songs: failed writing %s\n", path.c_str());
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: compose_songs OUTDIR\n");
        return 2;
    }
    std::string dir = argv[1];
    bool ok = WriteFile(dir + "/show.xm", WriteXm(ComposeShowSong()));
    ok = WriteFile(dir + "/hidden.xm", WriteXm(ComposeHiddenSong())) && ok;
    return ok ? 0 : 1;
}
