#include <cstdio>

int main() {
    std::fputs("zelvic: not built yet\n", stderr);
    return 1;
}
