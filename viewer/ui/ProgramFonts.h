// The Japanese type of the program's windows.
#pragma once

namespace kovra {

// Maps the Windows Japanese faces the printed forms and older settings name
// onto the installed faces (JapaneseFaces.h), and picks an application font
// that has Japanese.
void SetUpJapaneseFonts();

} // namespace kovra
