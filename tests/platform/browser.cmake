# browser
