#The player's own controls and assists: their save entries, the remap and
#assist pages, and the texts that name the player's keys.
target_sources(grumbo_app PRIVATE ${CMAKE_CURRENT_LIST_DIR} / player_options.cpp ${CMAKE_CURRENT_LIST_DIR} /
               app_options.cpp)
