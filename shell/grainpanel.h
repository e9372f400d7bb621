#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class TDataModule1;
class TShape;

// The grain as the main window and the grain parameters page take it: four
// captioned edits (sphere radius, the emission zone's outer and inner radius,
// the emission distance), three circles that draw the grain and its emission
// zone to scale, and the warning that names the rule the entries break.
//
// Each window places the pieces at its own pixels (see Layout); the panel
// covers just the area they take, so the window's other controls keep their
// places beside it. Every change of an entry checks the grain again: the
// circles are redrawn, the warning shows or hides, and entryChanged() tells
// the window whether the grain passes.
class GrainPanel : public QWidget {
    Q_OBJECT

public:
    // Where the pieces go, in the window's pixels.
    struct Layout {
        // Sphere radius, outer radius, inner radius, emission distance.
        std::array<QString, 4> captions;
        int captionLeft = 0;
        // The sphere radius's edit; the others follow one row step below each
        // other. Each caption stands level with the middle of its edit.
        QRect firstEdit;
        int rowStep = 32;
        // When set, the edits start 8 pixels right of the widest caption if it
        // reaches past firstEdit's left edge, keeping their right edge but no
        // narrower than this: a page whose captions are long in the desktop's
        // font keeps them readable. Unset, the edits stay where firstEdit says.
        std::optional<int> minEditWidth = std::nullopt;
        // The circle of the whole grain; the zone's circles are drawn inside it.
        QRect sphere;
        QPoint warningPos;
        // When set, the warning wraps within a box of this size; unset, it is
        // one line as wide as its text.
        std::optional<QSize> warningBox = std::nullopt;
    };

    GrainPanel(const Layout &layout, QWidget *window);

    QLineEdit *radiusEdit() const { return edits_[0]; }
    QLineEdit *outerEdit() const { return edits_[1]; }
    QLineEdit *innerEdit() const { return edits_[2]; }
    QLineEdit *emissionEdit() const { return edits_[3]; }
    QLabel *radiusCaption() const { return captions_[0]; }
    QLabel *outerCaption() const { return captions_[1]; }
    QLabel *innerCaption() const { return captions_[2]; }
    QLabel *emissionCaption() const { return captions_[3]; }
    TShape *sphereCircle() const { return sphere_; }
    TShape *outerCircle() const { return outer_; }
    TShape *innerCircle() const { return inner_; }
    QLabel *warning() const { return warning_; }

    // Points a window's own names at the pieces, so that its code reads them
    // as its controls.
    void lendPieces(std::array<QLabel **, 4> captions, std::array<QLineEdit **, 4> edits,
                    std::array<TShape **, 3> circles, QLabel **warning) const;

    // A data set whose helium comes from its parents (U, Th, Sm) uses no
    // emission distance: its edit is disabled and says why, and it is neither
    // checked nor stored.
    void setEmissionUsed(bool used);
    bool emissionUsed() const { return emissionUsed_; }

    // Whether the entries passed their latest check.
    bool passes() const { return passes_; }

    // Checks the four entries (SphereRadius >= OuterRadius > InnerRadius >= 0,
    // an emission distance of at least 0; decimals with "." or the locale's
    // separator) and redraws the zone's circles to scale inside the sphere's;
    // a circle the check did not reach keeps its size. The warning shows the
    // sentence for the broken rule, or hides when the entries pass.
    bool checkGeometry();

    // Converts all four entries, with "." or the locale's decimal separator,
    // before it stores any in the model's grain and emission distance, so a
    // bad entry changes nothing: it gets the focus and its conversion error is
    // thrown, led by its caption ("Emission distance: 'abc' is not a valid ...").
    void store(TDataModule1 &model) const;
    // The model's grain and emission distance in the edits, each change
    // checked and announced as if typed.
    void showValues(const TDataModule1 &model);

signals:
    // An entry changed and was checked; `passes` as passes() says.
    void entryChanged(bool passes);
    // One of the edits lost the focus.
    void entryLeft();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitToPieces();

    std::array<QLabel *, 4> captions_{};
    std::array<QLineEdit *, 4> edits_{};
    TShape *sphere_ = nullptr;
    TShape *outer_ = nullptr;
    TShape *inner_ = nullptr;
    QLabel *warning_ = nullptr;
    bool warningWraps_ = false;
    bool passes_ = true;
    bool emissionUsed_ = true;
};
