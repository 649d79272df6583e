#pragma once

// Command and control ids of the desktop program, kept as in the resource set so that menus,
// toolbar and form share one numbering.
namespace tickerlux::app::ids {

// Commands.
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFileMruFirst = 57616;
inline constexpr int kAppExit = 57665;
inline constexpr int kAppAbout = 57664;
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;
inline constexpr int kCommunicationSettings = 32771;
inline constexpr int kHeadlineCleanup = 32772;
inline constexpr int kStop = 32773;
inline constexpr int kViewSignPreview = 32790;

// Status bar indicators.
inline constexpr int kIndicatorCaps = 59137;
inline constexpr int kIndicatorNum = 59138;
inline constexpr int kIndicatorScrl = 59139;

// Headline form; the feed fields' controls (1001, 1002, 1007 to 1011, 1013, 1014, 1019) take
// their ids from the field table in settings/FeedFields.cpp.
inline constexpr int kUpdateSignNow = 1003;
inline constexpr int kClearSign = 1005;
inline constexpr int kUpdateSourceOnly = 1006;
inline constexpr int kClearSourceWindow = 1012;
inline constexpr int kSourceWindow = 1021;
inline constexpr int kLinkHome = 1023;
inline constexpr int kLinkOther = 1026;
inline constexpr int kLinkShop = 1027;

// About box.
inline constexpr int kAboutLinkUpdates = 1020;
inline constexpr int kAboutLinkHome = 1021;
inline constexpr int kAboutContact = 1024;

// Communication Settings dialog.
inline constexpr int kComPort = 1032;
inline constexpr int kBaudRate = 1033;
inline constexpr int kByteSize = 1034;
inline constexpr int kProtocol = 1035;
inline constexpr int kParity = 1036;
inline constexpr int kStopBits = 1037;
inline constexpr int kConnection = 1038;
inline constexpr int kSaveCommSettings = 1039;

// Auto-update timer of the form.
inline constexpr int kUpdateTimerId = 41;

} // namespace tickerlux::app::ids
