function startGame()
{
    game_CreatePreloaderSlider();
    core_OpenDialog("main_menu");
}
