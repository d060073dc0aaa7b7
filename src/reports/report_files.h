// The file side of saving a report: its formats, their names and extensions, the proposed
// file name and the format a typed name asks for.
#pragma once

#include <string>

namespace kindrel {

enum class WReportFormat : int { kPdf = 0, kHtml, kRtf, kJpeg, kBmp, kPng, kSvg, kCount };

// "PDF", "HTML", "RTF", "JPEG", "BMP", "PNG", "SVG" (the no-viewer message names these).
const char* ReportFormatName(WReportFormat format);
// The extension written for a format, with its dot (".pdf", ".html", ...).
const char* ReportFormatExtension(WReportFormat format);
// The save dialog's filter of a format ("PDF (*.pdf)", "HTML (*.htm *.html)", ...).
const char* ReportFormatFilter(WReportFormat format);
// True for the formats written one file per page.
bool IsImageFormat(WReportFormat format);

// The format a file name's extension names (case ignored; .htm and .html, .jpg and .jpeg);
// false for no or an unknown extension.
bool ReportFormatOfName(const std::string& fileName, WReportFormat& format);
// The file a save writes: a name whose extension names a format keeps it and that format
// wins; any other name gets the chosen format's extension appended.
std::string ReportTargetName(const std::string& typed, WReportFormat& format);

// A proposed file name: base + ending with / \ : * ? " < > | and control characters as "_",
// blanks and dots trimmed at the start; an empty base gives the ending alone (without its
// " - ").
std::string ProposedReportFileName(const std::string& base, const std::string& ending);

// Page k's file of an image save of `pages` pages: "name-0001.png" from "name.png" when there
// are several pages, the name itself for one.
std::string ReportPageFileName(const std::string& fileName, int k, int pages);

}  // namespace kindrel
