#pragma once
// Closing the last shown window from its title bar (or the window manager's close key) ends the program
// as Exit does. Hidden windows stay loaded after their window closes, so without this the process
// would go on with nothing on screen and hold its instance lock.
#include <QObject>

class Last_window_close final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
