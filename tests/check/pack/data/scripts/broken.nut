// The helpers are included first; the error below is still reported at its own line.
${include(scripts\helpers.inc)}
function broken()
{
    local x = ;
}
