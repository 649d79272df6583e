#pragma once

#include <string>

// Fixed texts that the program shows the user, written out once for the tests that compare them.
namespace tickerlux::test::shown {

// The fetcher's one message for every failure to download the page.
inline const std::string kConnectionError =
    "Error connecting to the website.\n\nThe field, \"Web Server:\" field should not contain "
    "\"http://\"or any other forward-slashes. The next field, \"Directory/File on Website\" must "
    "start with a forward-slash and may contain more as needed.  From a web browser, you can cut "
    "and paste the URL directly following the servername into this second field - please load "
    "the included datafiles for an example.";

// The notice for a page longer than the page buffer.
inline const std::string kOverrun = "File overran buffer -- not cached";

} // namespace tickerlux::test::shown
