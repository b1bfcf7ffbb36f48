#pragma once

#include "ui/mainwindow/MainForm.h"

#include "device/link/DeviceLink.h"
#include "device/simulator/SimulatedBackend.h"

#include <QCoreApplication>
#include <QDialog>
#include <QPrinter>
#include <QTemporaryDir>

#include <functional>
#include <vector>

namespace kavlon::test {

// Dialogs that never block: errors are recorded, a modal dialog is shown, handed
// to a script, and confirmed or not as the script says.
class ScriptedDialogs : public UserDialogs {
public:
    std::vector<QString> errors;
    std::vector<QString> errorDetails;
    QString fileToOpen;
    // The save dialog answers with this name (empty: cancelled) and keeps what it was asked.
    QString fileToSave;
    std::vector<SaveFileRequest> saveRequests;
    std::function<bool(QDialog&)> onModal = [](QDialog&) { return false; };
    // Questions asked, and the answer each gets.
    std::vector<QString> questions;
    bool confirmAnswer = true;

    void showError(QWidget*, const QString& text, const QString& detail) override {
        errors.push_back(text);
        errorDetails.push_back(detail);
    }
    QString chooseOpenFile(QWidget*, const QString&) override { return fileToOpen; }
    QString chooseSaveFile(QWidget*, const SaveFileRequest& request) override {
        saveRequests.push_back(request);
        return fileToSave;
    }
    bool confirm(QWidget*, const QString& question) override {
        questions.push_back(question);
        return confirmAnswer;
    }
    bool runModal(QDialog& dialog) override {
        dialog.show();
        const bool confirmed = onModal(dialog);
        dialog.hide();
        return confirmed;
    }
};

// An instrument on the other end of the link that keeps what it is sent.
class RecordingDevice : public TJvHidDevice {
public:
    std::vector<std::vector<std::uint8_t>> reports;
    std::string deviceString(int) override { return {}; }
    HidCaps Caps() override { return {65, 65}; }
    bool WriteReport(std::span<const std::uint8_t> report) override {
        reports.emplace_back(report.begin(), report.end());
        return true;
    }
    std::vector<std::uint8_t> command(std::size_t i) const {
        return {reports[i].begin() + 2, reports[i].begin() + 9};
    }
};

// Runs the deletions that closed windows asked for.
inline void processDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// A device layer with the instrument unplugged, so a test never meets real hardware.
inline std::unique_ptr<HidBackend> noInstrument() {
    auto backend = std::make_unique<SimulatedBackend>(SimulationOptions{false, std::chrono::milliseconds(0)});
    backend->unplug();
    return backend;
}

// A letter page at 300 dpi with no margins, printed into a PDF file instead of on paper.
inline QtPicturePrinter::Setup letterPdf(const QString& path) {
    return [path](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
        printer.setResolution(300);
    };
}

// A main window in a folder of its own, with an instrument attached but not yet connected.
// Nothing it prints reaches a real printer.
struct Bench {
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    QtPicturePrinter printer{letterPdf(folder.filePath("printed.pdf"))};
    RecordingDevice* device = nullptr;
    std::unique_ptr<TMainForm> form;

    Bench() {
        form = std::make_unique<TMainForm>(folder.path(), &dialogs, noInstrument());
        form->setPrinter(&printer);
        auto owned = std::make_unique<RecordingDevice>();
        device = owned.get();
        form->session().link().DeviceList.push_back(std::move(owned));
    }
    void connect() { form->acquisition().State.Connected = true; }
};

} // namespace kavlon::test
