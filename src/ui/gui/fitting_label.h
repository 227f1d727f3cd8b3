#pragma once

#include <QLabel>

namespace voltwise {

// One line of text in the label's own font, made smaller (down to a floor)
// when the desktop's font would cut it off: long condition texts in the
// strip, long read-outs in the status bar.
class FittingLabel : public QLabel
{
public:
    explicit FittingLabel(QWidget *parent = nullptr, qreal smallestPointSize = 8.0);

    // The font the text is painted in.
    QFont fittedFont() const;

protected:
    void paintEvent(QPaintEvent *) override;

private:
    qreal m_smallest;
};

} // namespace voltwise
