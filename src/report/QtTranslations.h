// The toolkit's own texts (file, font and print dialogs, edit menus) in French, whatever the
// process locale: the user interface speaks French throughout.
#pragma once

namespace bvr {

// Installs Qt's French catalogue on the running application, once. Returns false when the
// catalogue is not installed (Debian package qt6-translations-l10n); the dialogs then stay in
// the toolkit's English.
bool InstallToolkitTranslations();

}  // namespace bvr
