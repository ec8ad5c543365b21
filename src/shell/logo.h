#pragma once

#include <QPixmap>

namespace livrax::shell {

// The program's logo, drawn by the program itself: an open ledger with the
// name LIVRAX and the words "LIVROS FISCAIS".
QPixmap DrawLogo();

} // namespace livrax::shell
