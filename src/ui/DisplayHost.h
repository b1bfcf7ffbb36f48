#pragma once

#include <QString>

namespace kavlon {

class AcquisitionControl;

// What a display may ask of the main window that holds it.
class DisplayHost {
public:
    virtual ~DisplayHost() = default;
    // A display's window is being destroyed: free its number and list entry.
    virtual void removeDisplay(const QString& caption) = 0;
    virtual AcquisitionControl& acquisition() = 0;
};

} // namespace kavlon
