# Makes the manual page from the program's own help ("livrax help --all" and
# "livrax --version") with help2man, so the two never drift apart.
#
#   cmake -DHELP2MAN=<help2man> -DPROGRAM=<livrax> -DINCLUDE=<livrax.h2m>
#         -DOUTPUT=<livrax.1> -P make-manpage.cmake

# The help names the demo's default folder under the user's home: the page
# says "~" instead of the home of whoever built it.
set(home "/LIVRAXHOME")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env LC_ALL=C.UTF-8 HOME=${home} --unset=XDG_DATA_HOME
          --unset=XDG_CONFIG_HOME QT_QPA_PLATFORM=offscreen --unset=DISPLAY
          --unset=WAYLAND_DISPLAY
          "${HELP2MAN}" --locale=C.UTF-8 --no-info --section=1
          "--name=livros fiscais a partir dos bancos de dados do ERP"
          "--help-option=help --all" --version-option=--version
          "--include=${INCLUDE}" "--output=${OUTPUT}.tmp" "${PROGRAM}"
  RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "help2man falhou (${failed})")
endif()
file(READ "${OUTPUT}.tmp" page)
file(REMOVE "${OUTPUT}.tmp")
string(REPLACE "${home}" "~" page "${page}")
file(WRITE "${OUTPUT}" "${page}")
