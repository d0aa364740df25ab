// SPDX-License-Identifier: GPL-3.0-or-later
// The measures window's column choice: which columns of the last table are
// the time and the position, in which units, and the set read with them.
#include "mesuresdialog.h"

#include "measures/measurementholder.h"
#include "platform/namedwidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

namespace {

constexpr MeasureUnit timeUnits[] = {MeasureUnit::Second, MeasureUnit::Millisecond};
constexpr MeasureUnit lengthUnits[]
    = {MeasureUnit::Metre, MeasureUnit::Centimetre, MeasureUnit::Millimetre};

template<size_t N>
int unitIndex(const MeasureUnit (&units)[N], MeasureUnit unit)
{
    for (size_t i = 0; i < N; ++i) {
        if (units[i] == unit)
            return int(i);
    }
    return 0;
}

} // namespace

QLayout *MesuresDialog::createColumnChoice(QWidget *parent)
{
    auto *grid = new QGridLayout;
    timeColumn = NamedWidgets::combo(QStringLiteral("Colonne du temps"), parent);
    timeUnit = NamedWidgets::combo(QStringLiteral("Unité du temps"), parent);
    positionColumn = NamedWidgets::combo(QStringLiteral("Colonne de la position"), parent);
    lengthUnit = NamedWidgets::combo(QStringLiteral("Unité de la position"), parent);
    for (MeasureUnit u : timeUnits)
        timeUnit->addItem(unitSymbol(u));
    for (MeasureUnit u : lengthUnits)
        lengthUnit->addItem(unitSymbol(u));
    auto *timeLabel = new QLabel(QStringLiteral("&Temps :"), parent);
    timeLabel->setBuddy(timeColumn);
    auto *positionLabel = new QLabel(QStringLiteral("&Position :"), parent);
    positionLabel->setBuddy(positionColumn);
    grid->addWidget(timeLabel, 0, 0);
    grid->addWidget(timeColumn, 0, 1);
    grid->addWidget(timeUnit, 0, 2);
    grid->addWidget(positionLabel, 1, 0);
    grid->addWidget(positionColumn, 1, 1);
    grid->addWidget(lengthUnit, 1, 2);
    flip = NamedWidgets::checkBox(QStringLiteral("Axe orienté vers le &haut"),
                                  QStringLiteral("Axe orienté vers le haut"), parent);
    flip->setObjectName(QStringLiteral("flip"));
    grid->addWidget(flip, 2, 1, 1, 2);
    for (QComboBox *combo : {timeColumn, timeUnit, positionColumn, lengthUnit})
        connect(combo, &QComboBox::currentIndexChanged, this, &MesuresDialog::choice_Changed);
    connect(flip, &QCheckBox::toggled, this, &MesuresDialog::choice_Changed);
    return grid;
}

bool MesuresDialog::applySet(const ColumnChoice &choice, const QString &sourceName)
{
    QString why;
    std::optional<MeasurementSet> set = toMeasurementSet(m_table, choice, &why);
    if (!set) {
        error(why);
        return false;
    }
    set->sourceName = sourceName;
    m_choice = choice;
    m_holder.setSet(std::move(*set));
    setStale();
    return true;
}

void MesuresDialog::fillChoice()
{
    // The controls show the choice the set was read with; filling them must
    // not read it again.
    m_filling = true;
    const bool hasTable = m_table.columnCount() > 0;
    for (QComboBox *combo : {timeColumn, positionColumn}) {
        combo->clear();
        for (const MeasurementColumn &column : m_table.columns)
            combo->addItem(column.name);
    }
    for (QWidget *w :
         std::initializer_list<QWidget *> {timeColumn, timeUnit, positionColumn, lengthUnit, flip})
        w->setEnabled(hasTable);
    m_filling = false;
    if (hasTable)
        showChoice(m_choice);
}

void MesuresDialog::showChoice(const ColumnChoice &choice)
{
    m_filling = true;
    timeColumn->setCurrentIndex(choice.time);
    positionColumn->setCurrentIndex(choice.position);
    timeUnit->setCurrentIndex(unitIndex(timeUnits, choice.timeUnit));
    lengthUnit->setCurrentIndex(unitIndex(lengthUnits, choice.lengthUnit));
    flip->setChecked(choice.flip);
    m_filling = false;
}

void MesuresDialog::choice_Changed()
{
    if (m_filling || m_table.columnCount() == 0)
        return;
    ColumnChoice choice = m_choice;
    if (positionColumn->currentIndex() != m_choice.position) {
        // Another position column brings its own unit, uncertainty and sign.
        choice = withPosition(m_table, m_choice, positionColumn->currentIndex());
    } else {
        choice.lengthUnit = lengthUnits[std::max(0, lengthUnit->currentIndex())];
        choice.flip = flip->isChecked();
    }
    choice.time = timeColumn->currentIndex();
    if (timeUnits[std::max(0, timeUnit->currentIndex())] != m_choice.timeUnit)
        m_timeUnitChosen = true;
    choice.timeUnit = timeUnits[std::max(0, timeUnit->currentIndex())];
    applySet(choice, m_tableSource);
    // A refused choice puts the controls back on the set's.
    showChoice(m_choice);
}
