#pragma once

#include <QObject>
#include <QString>

#include <string>
#include <vector>

class QAction;
class QMenu;
class QToolButton;

namespace kavlon {

class TMainForm;
class TMDIChild_Data;

// Shot files in the main window: "Open shot..." on the toolbar and in the Shots menu
// (Ctrl+Shift+O), files dropped on the window, and the recent files the settings
// file keeps. An opened shot goes into a new numbered Data display, as if the
// instrument had just delivered it.
class ShotFileActions : public QObject {
    Q_OBJECT
public:
    explicit ShotFileActions(TMainForm& form);

    QAction* OpenShot1 = nullptr;
    QToolButton* OpenShot_TB = nullptr;
    QMenu* ShotMenu = nullptr;

    // Newest first, as the file system names them.
    const std::vector<std::string>& recent() const { return m_recent; }
    void setRecent(std::vector<std::string> recent) { m_recent = std::move(recent); }
    void remember(const QString& path);

    // The shot in a new Data display; on failure the user is told why and nothing is created.
    TMDIChild_Data* openShot(const QString& path);

public slots:
    void OpenShot1Execute();

protected:
    // Files dropped anywhere on the window are opened.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addToolButton();
    void rebuildMenu();
    void showOpenError(const QString& path, const QString& reason);

    TMainForm& m_form;
    std::vector<std::string> m_recent;
};

} // namespace kavlon
