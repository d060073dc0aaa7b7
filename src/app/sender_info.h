// The Sender page's texts, built from the self-viewing trailer: every field, the mail link
// with its subject and body, the web link and the creation time in the window's formats.
#pragma once

#include "services/self_view_trailer.h"

#include <string>

namespace kindrel {

// A date-time (days since 1899-12-30, fraction = time of day) as "dddd, mmm d, yyyy, hh:mm
// AM/PM" ("Thursday, Mar 14, 2024, 10:42 AM"); empty for values outside the years 1 to 9999.
std::string FormatLongDateTime(double dateTime);
// The same as "ddd, mmm d, yyyy, hh:mm AM/PM" ("Thu, Mar 14, 2024, 10:42 AM").
std::string FormatShortDateTime(double dateTime);

// Percent-encodes text for a URL query value: every byte except A-Z a-z 0-9 - . _ ~
// becomes %XX, so "&", "?", "#", "=" and spaces in a title cannot break the link.
std::string PercentEncode(const std::string& text);

// The mail link of the Sender page: "mailto:" + e-mail + "?subject=" + title + ": " +
// executable name + "&body=File: " + executable name + " created on " + the long creation
// time, with subject and body percent-encoded; empty when there is no e-mail.
std::string SenderMailUrl(const SelfViewTrailer& trailer, const std::string& executableName);

// The web link of the Sender page: the field as given when it names a scheme, else
// "http://" + the field; empty when the field is empty.
std::string SenderWebUrl(const std::string& webSite);

// Everything the Sender page shows.
struct SenderInfo {
    std::string fileName;
    std::string title;
    std::string name;
    std::string email;
    std::string mailUrl;  // empty when there is no e-mail
    std::string address1;
    std::string address2;
    std::string webSite;  // the "Web Site:" row is shown only when this is not empty
    std::string webUrl;
    std::string phone;
    std::string created;  // short format
    std::string message;  // line breaks as "\n"
    bool extractAllowed = false;
};

// Builds the Sender page's texts; executableName is the file name of the running
// self-viewing file (without folder).
SenderInfo BuildSenderInfo(const SelfViewTrailer& trailer, const std::string& executableName);

}  // namespace kindrel
