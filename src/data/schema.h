#pragma once

#include "data/table_file.h"

namespace zep::schema {

// The one place where the tables of the program are laid down.
inline constexpr char16_t kVersionMarker[] = u"VV34";

const TableLayout& addresses();           // Adressen.DB, per client
const TableLayout& topics();              // Thema.DB, per client
const TableLayout& documents();           // Dok.DB, per client
const TableLayout& serialLetters();       // Serie.db, per client
const TableLayout& applications();        // Programm.DB, installation-wide
const TableLayout& addressTemplates();    // AdrVorlage.DB
const TableLayout& addressPrintLayouts(); // AdrPrt.db
const TableLayout& envelopeLayouts();     // Brief.db

const std::vector<const TableLayout*>& clientTables();
const std::vector<const TableLayout*>& generalTables();

} // namespace zep::schema
