#pragma once
// Kestrun's window: four tab pages of settings and help, the status list with
// its pictures, Save and "Start ICQ", and the links to our web site. It shows
// and edits the settings record. A silent run makes it too, hidden and without
// controls, once ICQ 7 has been started: through it a close request or the end
// of the session reaches Kestrun while the launch follows up.

// Creates the window hidden, without its controls and without its size.
bool CreateMainWindow();
// Creates the window if needed, sizes it, builds the controls with the
// settings record, puts the English texts on them when English is chosen, and
// shows it. False when there is no window.
bool ShowMainWindow();
