#pragma once

class QObject;
class QWebEngineProfile;
class RequestIdentity;

class QString;

// A profile that keeps cookies, cache and site data between runs, so the user stays logged in to the forums;
// under storageFolder when one is given (a portable program's), else in the user's own folders. Make it before the
// first browser view. Without one the views use the engine's default profile, which keeps nothing once the
// program ends (tests rely on that).
QWebEngineProfile *storedBrowserProfile(const QString &storageFolder, QObject *parent);

// Lets the engine show page content to assistive technology. On Linux the engine leaves pages out of the
// accessibility tree unless told otherwise; told so, it builds a page's tree only while Qt's accessibility is
// active (a screen reader or another assistive tool is listening), so without one this costs nothing.
// A value the user set in the environment is kept. Call before the engine starts (before the first view).
void exposePagesToAssistiveTechnology();

// Keeps identity in step with what the profile sends sites: its User-Agent as it is now, and its cookies, those
// stored from earlier runs and every one added or removed while context lives.
void shareIdentity(QWebEngineProfile *profile, RequestIdentity *identity, QObject *context);
