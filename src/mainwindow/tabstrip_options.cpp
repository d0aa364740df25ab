// SPDX-License-Identifier: GPL-3.0-or-later
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
    for (QCheckBox *box :
         {m_Picture1->Check1(), m_Picture1->Check6(), m_frame2->Check12(), m_frame2->Check5()})
        sceneCheck(box);
    for (ScaleSpinner *spinner : {m_frame2->VScroll1(), m_frame2->VScroll3()}) {
        connect(spinner, &ScaleSpinner::valueChanged, this, [this] {
            readControls();
            emit sceneOptionChanged();
        });
    }
    // Read at their next use: the marks, the kept vectors, the bold graph
    // and the slow motion.
    for (QCheckBox *box :
         {m_Picture6->Check2(), m_Picture6->Check9(), m_Picture1->Check3(), m_Picture1->speed()})
        connect(box, &QCheckBox::toggled, this, [this] { readControls(); });
    connect(m_Picture1->Check4(), &QCheckBox::toggled, this, [this](bool shown) {
        readControls();
        emit indexShownChanged(shown);
    });
    for (int i = 0; i < 3; ++i) {
        connect(m_Picture1->Option1(i), &QRadioButton::toggled, this, [this, i](bool checked) {
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
    o.showAxis = m_Picture1->Check1()->isChecked();
    o.crossMarks = m_Picture6->Check2()->isChecked();
    o.boldGraph = m_Picture1->Check3()->isChecked();
    o.showIndex = m_Picture1->Check4()->isChecked();
    o.showVelocity = m_frame2->Check5()->isChecked();
    o.showRuler = m_Picture1->Check6()->isChecked();
    o.keepVectorsOnMarks = m_Picture6->Check9()->isChecked();
    o.showForces = m_frame2->Check12()->isChecked();
    o.slowMotion = m_Picture1->speed()->isChecked();
    o.velocityScale = m_frame2->VScroll1()->value();
    o.forceScale = m_frame2->VScroll3()->value();
    o.graphQuantity = DisplayOptions::Position;
    for (int i = 0; i < 3; ++i) {
        if (m_Picture1->Option1(i)->isChecked())
            o.graphQuantity = i;
    }
}

void TabStrip::setOptions(const DisplayOptions &options)
{
    m_Picture1->Check1()->setChecked(options.showAxis);
    m_Picture6->Check2()->setChecked(options.crossMarks);
    m_Picture1->Check3()->setChecked(options.boldGraph);
    m_Picture1->Check4()->setChecked(options.showIndex);
    m_frame2->Check5()->setChecked(options.showVelocity);
    m_Picture1->Check6()->setChecked(options.showRuler);
    m_Picture6->Check9()->setChecked(options.keepVectorsOnMarks);
    m_frame2->Check12()->setChecked(options.showForces);
    m_Picture1->speed()->setChecked(options.slowMotion);
    m_frame2->VScroll1()->setValue(options.velocityScale);
    m_frame2->VScroll3()->setValue(options.forceScale);
    if (options.graphQuantity >= 0 && options.graphQuantity < 3)
        m_Picture1->Option1(options.graphQuantity)->setChecked(true);
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
