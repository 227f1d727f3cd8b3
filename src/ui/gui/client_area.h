#pragma once

#include "ui/gui/main_face.h"

#include <QLocale>
#include <QObject>

class QLabel;
class QMainWindow;

namespace voltwise {

class GraphMenu;
struct AppSettings;
struct MainMenus;

// The main window's client area and status bar: the face, built once when
// first needed, the window's height for it, and what a refresh shows on it.
class ClientArea : public QObject
{
    Q_OBJECT

public:
    ClientArea(QMainWindow *window, AppSettings &settings, const MainMenus &menus,
               GraphMenu *graphMenu, const QLocale &locale);

    // Builds the face, with the menu and status bars, unless it is there.
    void ensureBuilt();
    bool isBuilt() const { return m_face.strip != nullptr; }
    // The face as at start, before any status: also after the settings load.
    void applyLoadedSettings();
    void applyDetailsHeight();
    void applyGraphValues();
    void applyGraphKind();
    void fitToFont();
    void selectTab(int index);
    void setStatusText(const QString &text);
    void showStatus(const StatusPresentation &p, const GridData &data);

private:
    void tabMain_Click(int index);

    QMainWindow *m_window;
    AppSettings &m_settings;
    const MainMenus &m_menus;
    GraphMenu *m_graphMenu;
    QLocale m_locale;
    MainFace m_face;
    FaceHeights m_heights;
    QLabel *sbStatusBar;
};

} // namespace voltwise
