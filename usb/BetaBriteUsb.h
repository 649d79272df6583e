#ifndef TICKERLUX_BETABRITEUSB_H
#define TICKERLUX_BETABRITEUSB_H

/* The four entry points of libbetabriteusb.so, the USB bulk-transfer library of the BetaBrite
 * Prism sign. The program loads the library by name for each transmission and finds these
 * functions by name; this header fixes their argument lists for the library and its callers. */

#define BETABRITEUSB_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

/* Opens the connection to the sign: nonzero on success, 0 when no sign could be opened. */
BETABRITEUSB_API int USBBULK_Open(void);

/* Sends `count` bytes (1 to 256): the number of bytes accepted, 0 or less on failure. */
BETABRITEUSB_API int USBBULK_Write(const unsigned char* data, int count);

/* Reads the sign's reply, at most `packets` packets of 64 bytes, into `buffer`, which must hold
 * that many bytes. Returns the bytes read, 0 when the sign sent nothing in time, -1 on failure. */
BETABRITEUSB_API int USBBULK_Read(unsigned char* buffer, int packets);

/* Releases the connection; 0 on success. Safe to call when the open failed. */
BETABRITEUSB_API int USBBULK_Close(void);

#ifdef __cplusplus
}
#endif

#endif
