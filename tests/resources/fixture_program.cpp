// A program for the tests to read and to start: it ends at once, and when given a file name it
// first creates that file, so that a test can see that it ran and with which argument.
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc > 1) {
        if (std::FILE* marker = std::fopen(argv[1], "w")) {
            std::fclose(marker);
        }
    }
    return 0;
}
