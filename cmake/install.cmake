# Install layout: the two deliverables in lib/, the tools in bin/, as in the build tree. vxhost finds the
# deliverables in ../lib relative to itself, and a deliverable finds its client library beside it
# (RUNPATH $ORIGIN), so an installed tree works wherever it is put.
#
# The stand-in client libraries are no part of a delivery. They go to lib/ with the component `standin`:
# in every install with -DVXJOBS_INSTALL_STANDIN_CLIENT=ON, otherwise only when asked for with
# `cmake --install BUILD --prefix DIR --component standin` (to run vxhost from an installed tree).

option(VXJOBS_INSTALL_STANDIN_CLIENT "Install the stand-in client libraries beside the deliverables" OFF)

# Fixed names rather than GNUInstallDirs: vxhost looks for ../lib, not a multiarch directory.
set(VXJOBS_INSTALL_LIBDIR lib)
set(VXJOBS_INSTALL_BINDIR bin)

# The deliverables are linked with their install RUNPATH ($ORIGIN) already: installing copies them as built.
install(TARGETS vxjobc vxjobcssl LIBRARY DESTINATION ${VXJOBS_INSTALL_LIBDIR})

# The tools keep the same relative layout: RUNPATH $ORIGIN/../lib.
foreach(tool vxhost vxstamp)
  if(TARGET ${tool})
    set_target_properties(${tool} PROPERTIES INSTALL_RPATH "$ORIGIN/../${VXJOBS_INSTALL_LIBDIR}")
    install(TARGETS ${tool} RUNTIME DESTINATION ${VXJOBS_INSTALL_BINDIR})
  endif()
endforeach()

if(VXJOBS_INSTALL_STANDIN_CLIENT)
  install(TARGETS JOBWIRE JOBWIRESSL LIBRARY DESTINATION ${VXJOBS_INSTALL_LIBDIR} COMPONENT standin)
else()
  install(TARGETS JOBWIRE JOBWIRESSL LIBRARY DESTINATION ${VXJOBS_INSTALL_LIBDIR} COMPONENT standin EXCLUDE_FROM_ALL)
endif()
