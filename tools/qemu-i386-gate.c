/* binfmt_misc handler for i386 ELF programs: hands them to qemu only when the
   caller asked for 32-bit Wine (WINE32_QEMU=1), so 64-bit prefixes never pay
   for setting up their 32-bit half under emulation. */
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    const char *want = getenv("WINE32_QEMU");
    (void)argc;
    if (!want || strcmp(want, "1") != 0)
        return 126;
    argv[0] = "/usr/bin/qemu-i386-static";
    execv(argv[0], argv);
    return 127;
}
