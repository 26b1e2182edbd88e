// Not a web page: a folder scan passes this file over.
function menu() { return  1; }
