// A contact line of the banner: a tag, blanks and a value ("Tel:      0114 496 0812").
#pragma once

#include <QLabel>

namespace dieprofile {

// Blanks in a proportional face bring the values only near one column. This label keeps the
// caption as its text (what a screen reader reads) but draws the tag at its left edge and the
// value at a fixed x, so that the values of all the contact lines start in one column at any
// scale.
class ContactLabel : public QLabel {
    Q_OBJECT
public:
    ContactLabel(const QString& caption, QWidget* parent);

    // The tag before the blanks, and the value after them; the value is empty when the caption
    // has no blank.
    QString Tag() const;
    QString Value() const;

    // The least x at which the value leaves a blank's room after the tag, in pixels.
    int TagRoom() const;
    // Where the value starts, in pixels from the label's left edge.
    void SetValueColumn(int x);
    int ValueColumn() const { return valueColumn_; }
    // How far the caption reaches from the label's left edge.
    int PaintedWidth() const;

    // Draws the caption with the painter's origin at the label's top left: on screen and on paper.
    void PaintCaption(QPainter& painter) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int valueColumn_ = 0;
};

} // namespace dieprofile
