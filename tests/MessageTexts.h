#pragma once

#include <QString>

// The boxes' texts as the user reads them, written out here rather than taken from the program,
// so that a changed word fails the tests instead of changing with them.
namespace MessageTexts {

inline const QString kNotFound =
    QStringLiteral("Δεν εντοπίστηκε το πρόγραμμα QS. Από τις ρυθμίσεις δώστε την IP και "
                   "την Port επικοινωνίας. Στη συνέχεια πατήστε το πλήκτρο Connect");
inline const QString kNoConnection =
    QStringLiteral("Πρόβλημα!!! Δεν υπάρχει σύνδεση με τον Server QS");
// A command the editor refused; the box differs from kNoConnection by its two missing marks.
inline const QString kRefused = QStringLiteral("Πρόβλημα! Δεν υπάρχει σύνδεση με τον Server QS");
inline const QString kTickFailed =
    QStringLiteral("Κάτι δεν πάει καλά. Ελέγξε τη σύνδεση της συσκευής σας στο δίκτυο "
                   "και ξανά τρέξτε το QSclient.");

} // namespace MessageTexts
