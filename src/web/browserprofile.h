#pragma once

class QWebEngineProfile;

// The profile every browser view of the program uses. Unless the program asks for a stored one, it is the
// engine's default profile, which keeps nothing once the program ends (tests rely on that).
QWebEngineProfile *browserProfile();

// Keeps cookies, cache and site data between runs, so the user stays logged in to the forums.
// Call once, before the first browser view is made.
void useStoredBrowserProfile();
