# Fails when a launcher grows past its size budget; prints every size checked.
#
#   cmake -DBUDGET=bytes -DFILES=a.exe;b.exe -P check_size_budget.cmake

set(over "")
foreach(file IN LISTS FILES)
    file(SIZE "${file}" size)
    get_filename_component(name "${file}" NAME)
    message(STATUS "${name}: ${size} bytes of ${BUDGET} allowed")
    if(size GREATER BUDGET)
        list(APPEND over "${name} (${size} bytes)")
    endif()
endforeach()
if(over)
    message(FATAL_ERROR "over the ${BUDGET}-byte budget: ${over}")
endif()
