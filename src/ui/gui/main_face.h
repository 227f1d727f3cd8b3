#pragma once

#include <QString>

class QCheckBox;
class QLocale;
class QPlainTextEdit;
class QStackedWidget;
class QTabBar;
class QWidget;

namespace voltwise {

class ConditionsPanel;
class GraphPanel;
class StatusStrip;
struct GridData;
struct StatusPresentation;

// The Conditions tab's tip, which the window extends by the operator's words.
QString ConditionsTip();

// What the main window shows in its client area: the status strip, the
// details switch, the tabs and their panels.
struct MainFace
{
    StatusStrip *strip = nullptr;
    QCheckBox *chkDetails = nullptr;
    QTabBar *tabMain = nullptr;
    QStackedWidget *panels = nullptr;
    GraphPanel *picGraph = nullptr;
    ConditionsPanel *conditions = nullptr;
    QPlainTextEdit *rtbNotices = nullptr;
    QPlainTextEdit *rtbForecasts = nullptr;
};

// Builds the face in the client area. Its widgets measure their text, and
// the first measurement in a process loads the font database: the window
// builds its face once the first status is out, or when it is first shown.
MainFace BuildMainFace(QWidget *client, const QLocale &locale);

// Fits the rows that take the desktop's font (the details switch and the
// tabs) to it: the tabs' captions shrink to fit the bar's width, and rows
// taller than designed push the panels down. Returns the client height the
// face needs, with and without the details.
struct FaceHeights
{
    int withDetails = 0;
    int withoutDetails = 0;
};
FaceHeights FitFaceToFont(const MainFace &face);

// The desktop's font for the widget, made smaller until its size hint fits
// the width (down to a floor where it stops).
void ShrinkFontToWidth(QWidget *widget, int width);

// Shows what a refresh produced on the face; the tray and the window's
// icon are the window's.
void ShowOnFace(const MainFace &face, const StatusPresentation &p, const GridData &data);

} // namespace voltwise
