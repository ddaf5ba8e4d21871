// The user's layout and script: the form declares its structures, applies the layout when first
// shown, and tells the script when it opens and when it is asked to close.
#include "Cinterface.h"
#include "FRMKV_TARSELLO.h"
#include "HostGlobal.h"
#include "LayoutScriptHolder.h"

void FRMKV_TARSELLO::CMD_LAYSCRYPT_OnAddStruttura() {
    guard("CMD_LAYSCRYPT_OnAddStruttura:", [&] { registerLayoutObjects(global().LayoutAndScript()); });
}

void FRMKV_TARSELLO::ApplicaLayOut() {
    guard("ApplicaLayOut:", [&] {
        LayoutScriptHolder& holder = global().LayoutAndScript();
        if (auto layout = holder.CurrentLayout()) {
            layout->Close();
            holder.ClearLayout();
        }
        holder.ApplyLayout();
    });
}

void FRMKV_TARSELLO::BuildScript() {
    scriptFailed_ = !guard("BuildScript:", [&] {
        LayoutScriptHolder& holder = global().LayoutAndScript();
        if (auto script = holder.CurrentScript()) {
            script->Close(global().CompanyContext().company);
            holder.ClearScript();
        }
        holder.BuildScript();
    });
}

QVariant FRMKV_TARSELLO::ExecuteFormEvent(const QString& name, const QVariantList& arguments) {
    QVariant result;
    guard("ExecuteFormEvent:", [&] {
        LayoutScriptHolder& holder = global().LayoutAndScript();
        auto script = holder.CurrentScript();
        if (!script) return;
        // What the script reads is the Bill in view, tabs never opened included.
        registerScriptObjects(holder);
        if (name == QStringLiteral("tsOpen")) result = script->RaiseFormEvent(true, arguments);
        if (name == QStringLiteral("tsClose")) result = script->RaiseFormEvent(false, arguments);
    });
    return result;
}

void FRMKV_TARSELLO::CMD_LAYSCRYPT_AfterButtonClick(const QString& button) {
    guard("CMD_LAYSCRYPT_AfterButtonClick:", [&] {
        if (button == QStringLiteral("Script")) BuildScript();
    });
}
