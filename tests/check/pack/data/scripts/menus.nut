function openMenu()
{
    core_OpenDialog("main_manu");
    core_PlayEffect("clack");
    core_SetBackgroundMusic("theme.ogg");
    local title = core_Translate("MENU.MISSING");
    core_SetTimeout(500, "openMenuu();");
}
