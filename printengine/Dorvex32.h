/* Dorvex32: the print engine library.  The only public header: its three
 * functions are the library's public interface.  The library exports four
 * names: these three and DorvexUtf8Entry, the viewer's private UTF-8 entry
 * (Dorvex32Utf8.h), which no other caller uses.  Strings are NUL-terminated
 * CP932 (Shift-JIS) texts owned by the caller; the library copies them on
 * entry.  Usable from C and C++. */
#ifndef DORVEX32_H
#define DORVEX32_H

#include <stdint.h>

#if defined(_WIN32)
#  define DORVEX32_CALL __stdcall
#  if defined(DORVEX32_BUILDING)
     /* Dorvex32.def names the exports; dllexport would add the decorated
      * names of a 32-bit build (_ScalPrint@36) beside the plain ones. */
#    define DORVEX32_API
#  else
#    define DORVEX32_API __declspec(dllimport)
#  endif
#else
#  define DORVEX32_CALL
#  if defined(DORVEX32_BUILDING)
#    define DORVEX32_API __attribute__((visibility("default")))
#  else
#    define DORVEX32_API
#  endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Prints the data file over the format file; the print queue shows the job
 * under the data file's name.  Result: -1 when the job ran, 0 when the
 * print dialog was cancelled, the job was aborted, or nothing could be
 * printed because a file was missing, unnamed or could not be read (said,
 * and then no dialog is shown). */
DORVEX32_API int16_t DORVEX32_CALL ScalPrint(const char* formatFile, const char* dataFile, const char* message,
                                             int32_t paperCode, int32_t orientation, int32_t topMargin,
                                             int32_t leftMargin, uint8_t printForm, uint8_t showDialog);

/* Shows the job in the modal preview window; returns when it is closed. */
DORVEX32_API void DORVEX32_CALL PrintImageDisp(const char* caption, const char* formatFile, const char* dataFile,
                                               int32_t paperCode, int32_t orientation, int32_t topMargin,
                                               int32_t leftMargin, int32_t windowLeft, int32_t windowTop,
                                               int32_t windowRight, int32_t windowBottom, uint8_t printForm,
                                               uint8_t showDialog);

/* Opens a format file in a new editor window and returns at once. */
DORVEX32_API void DORVEX32_CALL StartEditFile(const char* path, const char* untitledName);

#ifdef __cplusplus
}
#endif

#endif /* DORVEX32_H */
