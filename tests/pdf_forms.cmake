# The PDF steps of the print run the toolkit and lay pages on the form drawn at build time;
# their tests read the PDFs back with qpdf and place values through the PCL reader.
if(TARGET printout_tests)
  add_dependencies(printout_tests pdftk-qpdf communication_form)
  target_link_libraries(printout_tests PRIVATE pdf_toolkit pcl2pdf_text)
endif()
if(TARGET outside_tests)
  add_dependencies(outside_tests pdftk-qpdf)
  target_link_libraries(outside_tests PRIVATE pdf_toolkit)
endif()
