// Stand-in web browser for the hyperlink tests: writes its arguments, one a
// line, to the file named by MIRABO_RECORD_ARGS.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const char* path = std::getenv("MIRABO_RECORD_ARGS");
    if (!path) return 1;
    std::FILE* f = std::fopen(path, "w");
    if (!f) return 1;
    for (int i = 1; i < argc; ++i) std::fprintf(f, "%s\n", argv[i]);
    std::fclose(f);
    return 0;
}
