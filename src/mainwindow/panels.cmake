# SPDX-License-Identifier: GPL-3.0-or-later
# The tab strip and its four option panels, with their small controls.
add_library(lorva_panels STATIC
    ${CMAKE_CURRENT_LIST_DIR}/colourswatch.cpp ${CMAKE_CURRENT_LIST_DIR}/colourswatch.h
    ${CMAKE_CURRENT_LIST_DIR}/scalespinner.cpp ${CMAKE_CURRENT_LIST_DIR}/scalespinner.h
    ${CMAKE_CURRENT_LIST_DIR}/parameteredit.cpp ${CMAKE_CURRENT_LIST_DIR}/parameteredit.h
    ${CMAKE_CURRENT_LIST_DIR}/optionpanel.cpp ${CMAKE_CURRENT_LIST_DIR}/optionpanel.h
    ${CMAKE_CURRENT_LIST_DIR}/parameterpanel.cpp ${CMAKE_CURRENT_LIST_DIR}/parameterpanel.h
    ${CMAKE_CURRENT_LIST_DIR}/vectorpanel.cpp ${CMAKE_CURRENT_LIST_DIR}/vectorpanel.h
    ${CMAKE_CURRENT_LIST_DIR}/displaypanel.cpp ${CMAKE_CURRENT_LIST_DIR}/displaypanel.h
    ${CMAKE_CURRENT_LIST_DIR}/chronopanel.cpp ${CMAKE_CURRENT_LIST_DIR}/chronopanel.h
    ${CMAKE_CURRENT_LIST_DIR}/tabstrip.cpp ${CMAKE_CURRENT_LIST_DIR}/tabstrip.h
    ${CMAKE_CURRENT_LIST_DIR}/tabstrip_options.cpp
    ${CMAKE_CURRENT_LIST_DIR}/panelfields.cpp ${CMAKE_CURRENT_LIST_DIR}/panelfields.h
)
target_include_directories(lorva_panels PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(lorva_panels PUBLIC lorva_core lorva_platform lorva_platform_qt Qt6::Widgets)
lorva_target_warnings(lorva_panels)
lorva_use_widgets_pch(lorva_panels)
