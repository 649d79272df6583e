#pragma once

// The web pages and contact address that the form's "See Also:" buttons and the About box show.
// The address doubles as the caption where a button shows an address.
namespace tickerlux::app::links {

inline constexpr const char* kHome = "https://tickerlux.example.org/";
inline constexpr const char* kUpdates = "https://tickerlux.example.org/download/";
inline constexpr const char* kFeeds = "https://tickerlux.example.org/feeds/";
inline constexpr const char* kShop = "https://tickerlux.example.org/signs/";
inline constexpr const char* kContact = "tickerlux@example.org";

// Captions of the form's three link buttons.
inline constexpr const char* kHomeCaption = "tickerlux.example.org";
inline constexpr const char* kFeedsCaption = "Sample feeds";
inline constexpr const char* kShopCaption = "Signs";

// Opens an address in the user's browser; the result is not checked.
void OpenLink(const char* address);

} // namespace tickerlux::app::links
