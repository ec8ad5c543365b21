#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace livrax::demo {

// The fixed reference data of the demo company: the company record, the
// natures of operation, the states and cities partners live in, and the
// product catalogue the invoices draw from.

struct DemoNature {
    int code; // CFOP, four digits
    QString description;
    bool inBooks; // false: ATUGIAICM "N", left out of the books
};

// Every nature of operation of the demo, entries (1xxx-3xxx) then exits
// (5xxx-7xxx).
QList<DemoNature> DemoNatures();

struct DemoState {
    QString code;
    QStringList cities;
    int weight;   // share of the partners, in percent
    int icmsRate; // rate of an operation from the company's state, in percent
};

// The company's own state comes first.
QList<DemoState> DemoStates();

enum class ProductKind { Goods, Substitution, Controlled, Industrial, Service };

struct DemoProductModel {
    QString name;
    QString unit;
    ProductKind kind;
    qint64 price;          // selling price in ten-thousandths
    QString type = {};     // TIPOPRO: "C"/"D" controlled medicine, "O" oncological
    bool purchased = true; // false: only sold, so its stock runs negative
};

QList<DemoProductModel> DemoProductModels();

// Lines of the company record (parameter-store key "VRTNCAE"), line 1 first.
QStringList DemoCompanyRecord();

} // namespace livrax::demo
