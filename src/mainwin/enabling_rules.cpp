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
