${include(scripts\nowhere.inc)}
