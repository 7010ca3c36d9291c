/* A plain C caller of Dorvex32 through its header.  Without arguments it
 * only proves that the library links; with "edit" FILE it opens the file in
 * the editor and ends (the library then made the application and the
 * printer, and the process ends with both); with FORMAT DATA it prints them. */
#include "Dorvex32.h"

#include <stdio.h>
#include <string.h>

int main(int argc, char** argv)
{
    int16_t (DORVEX32_CALL *print)(const char*, const char*, const char*, int32_t, int32_t, int32_t, int32_t,
                                   uint8_t, uint8_t) = ScalPrint;
    if (argc == 3 && strcmp(argv[1], "edit") == 0) {
        StartEditFile(argv[2], "");
        return 0;
    }
    if (argc < 3) {
        printf("ScalPrint %s\n", print != NULL ? "linked" : "missing");
        return print != NULL ? 0 : 1;
    }
    return ScalPrint(argv[1], argv[2], "C client", 9, 0, 0, 0, 1, 1) == -1 ? 0 : 1;
}
