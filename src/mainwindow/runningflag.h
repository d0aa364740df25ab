// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The small record file "TEMPQavo.TMP" shared with the launcher of the
// teaching suite, in the program's folder. Record 19 says whether the program
// runs ("OUI") or has closed ("NON"); record 31 holds the name of an exercise
// the launcher asks the program to open. Other records belong to other
// programs and are left as they are. Failures are silent: the simulator works
// without a launcher.
class RunningFlag
{
public:
    static constexpr int runningRecord = 19;
    static constexpr int exerciseRecord = 31;

    explicit RunningFlag(const QString &programFolder);

    QString path() const { return m_path; }
    void markRunning();
    void markClosed();
    // The exercise requested by the launcher (empty when none); the record is
    // emptied so that the request is served once.
    QString takeRequestedExercise();

private:
    QString m_path;
};
