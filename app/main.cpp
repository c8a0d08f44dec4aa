// The program's entry. The start-up window is not built yet: the program names itself and ends.
#include <cstdio>

int main() {
    std::printf("Vantorel_HDMI %s\n", VANTOREL_VERSION);
    std::printf("The start-up window is not built yet; nothing else runs.\n");
    return 0;
}
