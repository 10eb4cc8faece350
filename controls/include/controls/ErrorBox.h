// The error box of the input controls: the platform's standard message box
// with the application's title as caption, an error icon and one OK button.
//
// Tests replace the box through a hook so that they can read the text
// without a modal window; with no hook set the real box is shown.
// Call from the GUI thread only.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace controls {

// Shows `text` in the error box, modal over `parent`'s window (parent may be
// null), and returns when the user has closed it.
void showErrorBox(QWidget* parent, const QString& text);

// Receives the text of every error box instead of the real box while set.
using ErrorBoxHook = std::function<void(QWidget* parent, const QString& text)>;

// Installs `hook` (an empty function restores the real box) and returns the
// hook it replaces.
ErrorBoxHook setErrorBoxHook(ErrorBoxHook hook);

}  // namespace controls
