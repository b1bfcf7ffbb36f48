#pragma once

#include <QImage>
#include <QString>

#include <functional>

class QPrinter;

namespace kavlon {

// The printer behind a Scope display's Print button; tests put one of their own
// in its place.
class PicturePrinter {
public:
    virtual ~PicturePrinter() = default;
    // Prints the picture as one landscape page, stretched into the page less a
    // twentieth at each edge. An empty text when the page went out, else why not.
    virtual QString printPicture(const QImage& picture, const QString& documentName) = 0;
};

// Prints through Qt: on the default printer, or on whatever the setup makes of the
// printer before it is used (a PDF file, a page size).
class QtPicturePrinter : public PicturePrinter {
public:
    using Setup = std::function<void(QPrinter&)>;
    explicit QtPicturePrinter(Setup setup = {}) : m_setup(std::move(setup)) {}

    QString printPicture(const QImage& picture, const QString& documentName) override;

private:
    Setup m_setup;
};

} // namespace kavlon
