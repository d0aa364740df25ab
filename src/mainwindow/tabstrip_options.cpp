// The display options held by the controls of the tab strip's panels.
#include "tabstrip.h"

#include "chronopanel.h"
#include "colourswatch.h"
#include "displaypanel.h"
#include "scalespinner.h"
#include "vectorpanel.h"

#include "platform/palette.h"

#include <QCheckBox>
#include <QRadioButton>

void TabStrip::connectOptions()
{
    for (int i = 0; i < DisplayOptions::swatchCount; ++i)
        m_options.colours[i] = storedColour(Label4(i)->colour());
    readControls();

    // These connections are made before any other code can connect to the
    // controls, so options() is up to date when the other handlers run.
    const auto sceneCheck = [this](QCheckBox *box) {
        connect(box, &QCheckBox::toggled, this, [this] {
            readControls();
            emit sceneOptionChanged();
        });
    };
    for (QCheckBox *box : {Picture1->Check1, Picture1->Check6, frame2->Check12, frame2->Check5})
        sceneCheck(box);
    for (ScaleSpinner *spinner : {frame2->VScroll1, frame2->VScroll3}) {
        connect(spinner, &ScaleSpinner::valueChanged, this, [this] {
            readControls();
            emit sceneOptionChanged();
        });
    }
    // Read at their next use: the marks, the kept vectors, the bold graph
    // and the slow motion.
    for (QCheckBox *box : {Picture6->Check2, Picture6->Check9, Picture1->Check3, Picture1->speed})
        connect(box, &QCheckBox::toggled, this, [this] { readControls(); });
    connect(Picture1->Check4, &QCheckBox::toggled, this, [this](bool shown) {
        readControls();
        emit indexShownChanged(shown);
    });
    for (int i = 0; i < 3; ++i) {
        connect(Picture1->Option1[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            readControls();
            if (checked)
                emit graphQuantityChanged(i);
        });
    }
    for (int i = 0; i < DisplayOptions::swatchCount; ++i)
        connect(Label4(i), &ColourSwatch::clicked, this, [this, i] { emit swatchClicked(i); });
}

void TabStrip::readControls()
{
    DisplayOptions &o = m_options;
    o.showAxis = Picture1->Check1->isChecked();
    o.crossMarks = Picture6->Check2->isChecked();
    o.boldGraph = Picture1->Check3->isChecked();
    o.showIndex = Picture1->Check4->isChecked();
    o.showVelocity = frame2->Check5->isChecked();
    o.showRuler = Picture1->Check6->isChecked();
    o.keepVectorsOnMarks = Picture6->Check9->isChecked();
    o.showForces = frame2->Check12->isChecked();
    o.slowMotion = Picture1->speed->isChecked();
    o.velocityScale = frame2->VScroll1->value();
    o.forceScale = frame2->VScroll3->value();
    o.graphQuantity = DisplayOptions::Position;
    for (int i = 0; i < 3; ++i) {
        if (Picture1->Option1[i]->isChecked())
            o.graphQuantity = i;
    }
}

void TabStrip::setOptions(const DisplayOptions &options)
{
    Picture1->Check1->setChecked(options.showAxis);
    Picture6->Check2->setChecked(options.crossMarks);
    Picture1->Check3->setChecked(options.boldGraph);
    Picture1->Check4->setChecked(options.showIndex);
    frame2->Check5->setChecked(options.showVelocity);
    Picture1->Check6->setChecked(options.showRuler);
    Picture6->Check9->setChecked(options.keepVectorsOnMarks);
    frame2->Check12->setChecked(options.showForces);
    Picture1->speed->setChecked(options.slowMotion);
    frame2->VScroll1->setValue(options.velocityScale);
    frame2->VScroll3->setValue(options.forceScale);
    if (options.graphQuantity >= 0 && options.graphQuantity < 3)
        Picture1->Option1[options.graphQuantity]->setChecked(true);
    for (int i = 0; i < DisplayOptions::swatchCount; ++i) {
        if (options.colours[i] != m_options.colours[i])
            setColour(i, options.colours[i]);
    }
}

void TabStrip::setColour(int index, qint32 stored)
{
    ColourSwatch *swatch = Label4(index);
    if (!swatch)
        return;
    m_options.colours[index] = stored;
    swatch->setColour(colourFromStored(stored));
    emit colourChanged(index);
}
