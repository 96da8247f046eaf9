# The whole program against hostile files, its memory over repeated runs, and its saving
# when the disk or the folder refuses: the real window driven through its seams, and
# tessarin-convert run as a process of its own.
tessarin_add_test(hardening_test WIDGETS
  SOURCES
    hostile_file_test.cpp
    leak_test.cpp
    program_saving_test.cpp
  LIBS tessarin_app tessarin_test_support tessarin_program_run tessarin_workbook_reader)
add_dependencies(hardening_test tessarin-convert)
if(TESSARIN_SANITIZE)
  target_compile_definitions(hardening_test PRIVATE TESSARIN_SANITIZED)
endif()
