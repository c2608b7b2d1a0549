-- Schools present in every cluster.  school_001 is named literally by the accounting
-- models navigator (its model catalogue lives there), so it always exists.
select admin.create_school('001', 'school', 'МБОУ «Средняя общеобразовательная школа № 1»', 'school_001_demo');
