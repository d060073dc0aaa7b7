// "Copy To Clipboard" for the pages: the page's text rendered with TMGTagSent off, put on the
// clipboard with "\n" line ends, the flash "Copy to Clipboard Complete", then the page rebuilt.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QString;

namespace kindrel {

class TViewContext;
class TViewPage;

// The flash shown after a copy.
inline constexpr const char* kCopyCompleteText = "Copy to Clipboard Complete";
// The wait dialog's text while a long page is copied.
inline constexpr const char* kCopyingText = "Copying to clipboard";

// True when the window has a collection, an active individual and no long work running.
bool CanCopyActiveIndividual(const TViewContext& context);

// Runs render with TMGTagSent reading "F"; a text (none or empty: nothing is copied, no
// message) goes to the clipboard and the flash is shown. The page is rebuilt afterwards in
// either case. Returns true when something was copied. Errors of render propagate (the window
// shows them); the setting reads as stored again whatever happens.
bool CopyPageText(TViewPage& page, const std::function<std::optional<std::string>()>& render);
// As CopyPageText for a render that gives the clipboard's text itself (a long copy converts
// its text piece by piece while it is made).
bool CopyPageClipText(TViewPage& page, const std::function<std::optional<QString>()>& render);
// Appends UTF-8 text to a clipboard text, leaving out NUL characters (they cut the text short
// in some receivers).
void AppendClipText(QString& clip, std::string_view text);

// UTF-8 text as a QString for the clipboard, converted in slices of about a megabyte that end
// after a line break, with the event pump called between slices (a long copy's text takes a
// quarter of a second to convert in one piece), NUL characters left out. False, with out
// empty, when the cancel flag is set meanwhile.
bool ClipboardTextInSlices(std::string_view text, QString& out);

// Ctrl+C in a text field: copies the selection of the focused line edit, memo or label and
// answers true; false (nothing copied) when the focus holds no selected text.
bool CopyFocusedSelection();

}  // namespace kindrel
