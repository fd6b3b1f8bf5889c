// The toolkit's start on a windowing system. When no platform plugin can start (no X display,
// the Wayland platform without a compositor, a plugin that is missing or fails), Qt reports a
// fatal error and aborts the process. While an object of this class lives, that report ends the
// program instead with status 1 and one line on standard error: what is missing, and how to
// choose a platform. Qt's own messages of the start are held meanwhile: dropped when it fails
// (the line says it all), passed on in their order once it has succeeded.
#ifndef ARBOLIX_APP_PLATFORMSTART_H
#define ARBOLIX_APP_PLATFORMSTART_H

class PlatformStart
{
public:
    // Takes Qt's messages over: make the QApplication next.
    PlatformStart();
    // Calls started() if that has not happened yet.
    ~PlatformStart();

    PlatformStart(const PlatformStart&) = delete;
    PlatformStart& operator=(const PlatformStart&) = delete;

    // The QApplication is made: Qt's messages go where they went before, the held ones first.
    void started();
};

#endif
