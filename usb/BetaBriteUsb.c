/* libbetabriteusb.so: the USB bulk-transfer library of the BetaBrite Prism sign, over libusb-1.0.
 * One sign at a time: USBBULK_Open finds and claims it, USBBULK_Write and USBBULK_Read move bytes
 * over its two bulk endpoints, USBBULK_Close gives everything back. */

#include "usb/BetaBriteUsb.h"

#include <libusb.h>
#include <limits.h>
#include <stddef.h>

enum {
    kVendorId = 0x8765,
    kProductId = 0x1234,
    kInterface = 0,
    kEndpointOut = 0x02,
    kEndpointIn = 0x82,
    kPacketSize = 64,
    kMaxWrite = 256,
    /* A piece of 256 bytes is four packets; a sign that takes longer has stopped listening. */
    kWriteTimeoutMs = 5000,
    /* The sign may or may not answer a piece; waiting long for a reply would make a long
     * transmission crawl. */
    kReadTimeoutMs = 50,
};

static libusb_context* s_context;
static libusb_device_handle* s_sign;
static int s_reattachDriver;

/* Releasing an interface that was never claimed is a harmless error in libusb. */
static void ReleaseAll(void)
{
    if (s_sign) {
        libusb_release_interface(s_sign, kInterface);
        if (s_reattachDriver)
            libusb_attach_kernel_driver(s_sign, kInterface);
        libusb_close(s_sign);
        s_sign = NULL;
    }
    s_reattachDriver = 0;
    if (s_context) {
        libusb_exit(s_context);
        s_context = NULL;
    }
}

int USBBULK_Open(void)
{
    ReleaseAll();
    if (libusb_init(&s_context) != 0) {
        s_context = NULL;
        return 0;
    }
    s_sign = libusb_open_device_with_vid_pid(s_context, kVendorId, kProductId);
    if (!s_sign) {
        ReleaseAll();
        return 0;
    }
    /* A driver that bound itself to the sign would keep the interface from us. */
    if (libusb_kernel_driver_active(s_sign, kInterface) == 1) {
        if (libusb_detach_kernel_driver(s_sign, kInterface) != 0) {
            ReleaseAll();
            return 0;
        }
        s_reattachDriver = 1;
    }
    if (libusb_claim_interface(s_sign, kInterface) != 0) {
        ReleaseAll();
        return 0;
    }
    return 1;
}

int USBBULK_Write(const unsigned char* data, int count)
{
    if (!s_sign || !data || count < 1 || count > kMaxWrite)
        return 0;
    /* libusb takes a mutable buffer for both directions; an OUT transfer only reads it. */
    unsigned char piece[kMaxWrite];
    for (int i = 0; i < count; ++i)
        piece[i] = data[i];
    int sent = 0;
    const int result =
        libusb_bulk_transfer(s_sign, kEndpointOut, piece, count, &sent, kWriteTimeoutMs);
    return result == 0 && sent == count ? sent : 0;
}

int USBBULK_Read(unsigned char* buffer, int packets)
{
    if (!s_sign || !buffer || packets < 1 || packets > INT_MAX / kPacketSize)
        return -1;
    int received = 0;
    const int result = libusb_bulk_transfer(s_sign, kEndpointIn, buffer, packets * kPacketSize,
                                            &received, kReadTimeoutMs);
    if (result == 0 || result == LIBUSB_ERROR_TIMEOUT)
        return received;
    return -1;
}

int USBBULK_Close(void)
{
    ReleaseAll();
    return 0;
}
