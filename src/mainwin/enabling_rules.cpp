#include "mainwin/enabling_rules.h"

namespace zep {

namespace {

QStringList names(std::initializer_list<const char16_t*> list) {
    QStringList result;
    for (const char16_t* name : list)
        result << QString::fromUtf16(name);
    return result;
}

} // namespace

QStringList clientRuleControls() {
    return names({// top strip and views
                  u"BoxAdrVor", u"BtnAdrCopy", u"Tab00",
                  // entries
                  u"Btn_B_Neu", u"Btn_B_Edit", u"Btn_B_Del", u"Edit_B_Such", u"Btn_B_Such", u"Btn_B_KlappAuf",
                  u"Btn_B_KlappZu", u"MA_Neu", u"MA_Edit", u"MA_Del", u"MA_PrintBrief", u"MA_PrintAdr", u"MA_Vorlage",
                  u"MT_Neu", u"MT_Edit", u"MT_Del", u"PA_Neu", u"PA_Edit", u"PA_Del", u"PA_PrintBrief", u"PA_PrintAdr",
                  u"PT_Neu", u"PT_Edit", u"PT_Del",
                  // documents
                  u"Btn_D_NeuDok", u"Btn_D_NeuNot", u"Btn_D_Holen", u"Btn_D_Open", u"Btn_D_Book", u"Btn_D_Done",
                  u"Btn_D_Del", u"Btn_D_All", u"Btn_D_Tab", u"Btn_D_Notiz", u"MD_NeuDok", u"MD_NeuNot", u"MD_Holen",
                  u"MD_Open", u"MD_Book", u"MD_Del", u"MD_Save", u"MD_Move", u"MD_Copy", u"MD_Tab", u"PD_Open",
                  u"PD_Book", u"PD_Del", u"PD_Save", u"PD_Move", u"PD_Copy", u"PD_Print", u"PD_Play", u"RE",
                  u"MSer_Word",
                  // tools working on the client
                  u"MTool_ImpDBF", u"MTool_ExpDBF", u"MTool_Sicher", u"MTool_Baum", u"MTool_Option"});
}

QStringList entryRuleControls(int view) {
    QStringList result = names({u"Btn_D_NeuDok", u"Btn_D_NeuNot", u"Btn_D_Holen", u"MD_NeuDok", u"MD_NeuNot",
                                u"MD_Holen", u"Btn_B_Edit", u"Btn_B_Del"});
    if (view == 0)
        result << names({u"MA_Edit", u"MA_Del", u"MA_PrintBrief", u"PA_Edit", u"PA_Del", u"PA_PrintBrief"});
    else if (view == 1)
        result << names({u"MT_Edit", u"MT_Del", u"PT_Edit", u"PT_Del"});
    return result;
}

QStringList documentsViewRuleControls() {
    return names({u"Btn_D_NeuDok", u"Btn_D_NeuNot", u"Btn_D_Holen", u"Btn_D_All", u"MD_NeuDok", u"MD_NeuNot",
                  u"MD_Holen", u"MD_Move", u"MD_Copy", u"MD_Save", u"PD_Move", u"PD_Copy", u"PD_Save"});
}

QStringList documentRuleControls(int view) {
    QStringList result = names({u"Btn_D_Book", u"Btn_D_Del", u"Btn_D_Open", u"Btn_D_Done", u"Btn_D_Notiz", u"MD_Book",
                                u"MD_Del", u"MD_Open", u"PD_Book", u"PD_Del", u"PD_Open", u"PD_Print", u"RE"});
    if (view == 0 || view == 1)
        result << names({u"MD_Move", u"MD_Copy", u"MD_Save", u"PD_Move", u"PD_Copy", u"PD_Save"});
    return result;
}

} // namespace zep
