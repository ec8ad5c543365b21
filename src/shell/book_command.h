#pragma once

#include <QString>
#include <QStringList>

namespace livrax::shell {

QString BookUsage();

// "livrax book": runs a fiscal book as the logged-in user without any
// window, to a PDF or text file. Options not given come from the book's
// saved settings, which the run leaves unchanged. Returns the exit status.
int RunBookCommand(const QStringList& arguments);

} // namespace livrax::shell
