// The windowed program: its menus and commands, the rules that enable them as
// documents come and go, the application events (files named on the command
// line, print, quit), and the order in which it all starts.
#pragma once

struct AppDocument;

// Sets the program up over a started framework, runs the main loop until
// Quit, and tears its own parts down.
void RunApplication();

// The document the File and Animation commands act on; null for none.
void SetActiveDocument(AppDocument* document);
AppDocument* ActiveDocument();
// Close Window is enabled while a window can be closed.
void UpdateCloseWindowItem();

// The commands, as the menus run them (tests call them directly too).
void OpenCommand();
void CloseWindowCommand();
void SaveCommand();
void SaveAsCommand();
void TestCompressionCommand();
void PreferencesCommand();
// Asks about each edited document; quits unless the user cancels.
void QuitCommand();
void AboutCommand();

// The depth check, when the preferences ask for it: whether the start-up
// window may open.
bool StartupWindowMayOpen();

// Builds the menu bar and installs it; part of RunApplication, and of tests.
void BuildApplicationMenus();
// Registers the application events and the document events; likewise.
void RegisterApplicationEvents();
// What a menu item is called in the bar (for tests): enabled or not.
bool MenuItemEnabled(const char* text);
