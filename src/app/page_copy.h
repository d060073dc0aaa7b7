// "Copy To Clipboard" for the pages: the page's text rendered with TMGTagSent off, put on the
// clipboard with "\n" line ends, the flash "Copy to Clipboard Complete", then the page rebuilt.
#pragma once

#include <functional>
#include <optional>
#include <string>

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

// Ctrl+C in a text field: copies the selection of the focused line edit, memo or label and
// answers true; false (nothing copied) when the focus holds no selected text.
bool CopyFocusedSelection();

}  // namespace kindrel
