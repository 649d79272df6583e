/* A stand-in for libbetabriteusb.so, built only for the tests. It records every call, with the
 * bytes written, one line a call in the file named by TICKERLUX_USBFAKE_LOG:
 *     load | open RESULT | write COUNT HEXBYTES | read PACKETS | close | unload
 * and fails on request:
 *     TICKERLUX_USBFAKE_OPEN=N          USBBULK_Open returns N (default 1)
 *     TICKERLUX_USBFAKE_FAIL_WRITE=N    the Nth write since the library was loaded is refused
 *     TICKERLUX_USBFAKE_FAIL_RESULT=R   ... with the result R (default 0)
 * Each build variant leaves out one entry point (FAKE_WITHOUT_OPEN, _WRITE, _READ, _CLOSE). */

#include "usb/BetaBriteUsb.h"

#include <stdio.h>
#include <stdlib.h>

static int s_writes;

static int EnvNumber(const char* name, int fallback)
{
    const char* text = getenv(name);
    return text && *text ? atoi(text) : fallback;
}

static FILE* OpenLog(void)
{
    const char* path = getenv("TICKERLUX_USBFAKE_LOG");
    return path && *path ? fopen(path, "a") : NULL;
}

static void Log(const char* line)
{
    FILE* log = OpenLog();
    if (log) {
        fprintf(log, "%s\n", line);
        fclose(log);
    }
}

/* Load and unload show that the program frees the library after every transmission. */
__attribute__((constructor)) static void OnLoad(void)
{
    s_writes = 0;
    Log("load");
}

__attribute__((destructor)) static void OnUnload(void)
{
    Log("unload");
}

#ifndef FAKE_WITHOUT_OPEN
int USBBULK_Open(void)
{
    const int result = EnvNumber("TICKERLUX_USBFAKE_OPEN", 1);
    char line[32];
    snprintf(line, sizeof line, "open %d", result);
    Log(line);
    return result;
}
#endif

#ifndef FAKE_WITHOUT_WRITE
int USBBULK_Write(const unsigned char* data, int count)
{
    FILE* log = OpenLog();
    if (log) {
        fprintf(log, "write %d ", count);
        for (int i = 0; i < count; ++i)
            fprintf(log, "%02x", data[i]);
        fputc('\n', log);
        fclose(log);
    }
    ++s_writes;
    if (s_writes == EnvNumber("TICKERLUX_USBFAKE_FAIL_WRITE", 0))
        return EnvNumber("TICKERLUX_USBFAKE_FAIL_RESULT", 0);
    return count;
}
#endif

#ifndef FAKE_WITHOUT_READ
int USBBULK_Read(unsigned char* buffer, int packets)
{
    char line[32];
    snprintf(line, sizeof line, "read %d", packets);
    Log(line);
    buffer[0] = 0x06;
    return 1;
}
#endif

#ifndef FAKE_WITHOUT_CLOSE
int USBBULK_Close(void)
{
    Log("close");
    return 0;
}
#endif
