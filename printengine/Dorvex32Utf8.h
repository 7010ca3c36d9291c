/* Dorvex32's internal entry for the viewer built together with it: the
 * three functions of Dorvex32.h taking UTF-8 texts instead of Shift-JIS, so
 * that every path the file system accepts reaches the engine (a folder
 * named in Korean, or "josé", has no Shift-JIS spelling).  Not part of the
 * public header; a C caller keeps to Dorvex32.h.  Like the exports, these
 * copy their texts on entry and never let an exception out. */
#ifndef DORVEX32_UTF8_H
#define DORVEX32_UTF8_H

#include "Dorvex32.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct DorvexUtf8Functions {
    uint32_t size; /* sizeof(DorvexUtf8Functions) in the library */
    int16_t(DORVEX32_CALL* ScalPrint)(const char* formatFile, const char* dataFile, const char* message,
                                      int32_t paperCode, int32_t orientation, int32_t topMargin,
                                      int32_t leftMargin, uint8_t printForm, uint8_t showDialog);
    void(DORVEX32_CALL* PrintImageDisp)(const char* caption, const char* formatFile, const char* dataFile,
                                        int32_t paperCode, int32_t orientation, int32_t topMargin,
                                        int32_t leftMargin, int32_t windowLeft, int32_t windowTop,
                                        int32_t windowRight, int32_t windowBottom, uint8_t printForm,
                                        uint8_t showDialog);
    void(DORVEX32_CALL* StartEditFile)(const char* path, const char* untitledName);
    /* ScalPrint whose job the print queue shows as `jobName` (the other
     * entries name it after the data file). */
    int16_t(DORVEX32_CALL* ScalPrintNamed)(const char* formatFile, const char* dataFile, const char* message,
                                           int32_t paperCode, int32_t orientation, int32_t topMargin,
                                           int32_t leftMargin, uint8_t printForm, uint8_t showDialog,
                                           const char* jobName);
} DorvexUtf8Functions;

DORVEX32_API const DorvexUtf8Functions* DORVEX32_CALL DorvexUtf8Entry(void);

#ifdef __cplusplus
}
#endif

#endif /* DORVEX32_UTF8_H */
